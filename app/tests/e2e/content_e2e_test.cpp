// The Case window with the real program and real clipboard peers: a picture
// pasted from another program is stored under 1/img/ and marked in the
// content, text copied out reaches another program as UTF-8, and typed text
// with two undos is on disk as the user last saw it.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <mutex>

#include "app/tests/e2e/board_cases.h"
#include "app/tests/e2e/nodrel_fixture.h"
#include "base/file_io.h"
#include "base/gbk.h"
#include "gfx/gfx.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"

namespace nd::e2e {
namespace {

// The card's place on the board (the origin is at the window's corner).
constexpr int kCardX = 400;
constexpr int kCardY = 300;
// Waits on a worker and the autosave, on a machine that may be busy.
constexpr int kSlowWait = 8000;
// A point inside the Case window's content tab on a 1600 x 900 window.
constexpr int kEditorX = 1340;
constexpr int kEditorY = 500;
// Where the tests look for the window: inside it, and off the board's grid
// lines, which lie every 100 pixels.
constexpr int kProbeX = kEditorX + 13;
constexpr int kProbeY = kEditorY + 13;
// The Case window's close button (its right edge 12 pixels in from the
// window's, its top 12 pixels below the top bar).
constexpr int kCloseX = 1600 - 12 - 15;
constexpr int kCloseY = 90 + 12 + 15;

class ContentE2e : public NodrelE2e {
protected:
    std::string m_root;
    RecordKey m_case{};

    void SetUp() override {
        NodrelE2e::SetUp();
        ASSERT_TRUE(workspace_root(m_workspace, m_root));
    }

    // One title-form Case on the first whiteboard holding `text` (GBK).
    void add_case(const std::string& text) {
        m_case = add_title_cases(m_root, {{kCardX, kCardY}}, nullptr, text)[0];
    }

    // Reads the Case back as the program left it.
    void read_case(CaseRecord* record, std::string* text) {
        Tables.read_only = true;
        set_workspace_root(m_root);
        ASSERT_GE(load_workspace(), 0);
        ASSERT_EQ(find_board(0, 0)->case_count, 1u);
        *record = *find_case(0, 0, 0);
        *text = find_case_body(0, 0, 0)->text;
        clear_tables();
        Tables.read_only = false;
    }

    // Starts the program and opens the Case window with a double click on
    // the card.
    WindowInfo open_case_window() {
        start();
        const WindowInfo w = open_board();
        if (!w.id) return w;
        const int x = kCardX + 6, y = kCardY + 6;
        EXPECT_TRUE(wait_for([&] { return m_x.pixel(w.id, kProbeX, kProbeY) == kBackground; }))
            << "no board; log:\n"
            << log();
        xdotool(w, x, y, {"sleep", "0.3", "click", "--repeat", "2", "--delay", "80", "1"});
        EXPECT_TRUE(wait_for([&] { return m_x.pixel(w.id, kProbeX, kProbeY) != kBackground; }))
            << "no Case window; log:\n"
            << log();
        // Keys go to the window under the pointer's focus.
        xdotool(w, kEditorX, kEditorY, {});
        return w;
    }

    // The output of `xclip -o` for a target, or "" when it fails.
    std::string clipboard_out(const std::string& target) {
        const std::string out = (m_dir / "clip.out").string();
        const std::string cmd = "xclip -selection clipboard -t " + target + " -o > " + out;
        // xclip writes to a file through the shell of the test only.
        if (run({"sh", "-c", cmd}) != 0) return {};
        std::string data;
        return read_file_all(out, data, 1 << 20) == kIoOk ? data : std::string();
    }

    void stop() {
        kill(m_pid, SIGTERM);
        ASSERT_EQ(wait_exit(), 0) << log();
    }
};

// A PNG from another program: Ctrl+V stores it as a JPEG with its preview
// under 1/img/, the content holds its marker and the slot the relative path;
// copied out again, the picture reaches other programs as PNG.
TEST_F(ContentE2e, APictureFromAnotherProgramIsStoredAndMarked) {
    add_case("before\n");
    const std::string png = (m_dir / "red.png").string();
    {
        gfx::IMAGE* image = gfx::new_image(64, 48);
        for (uint32_t& p : image->pixels) p = 0xFFCC2020;
        ASSERT_EQ(gfx::save_png(image, png.c_str()), 0);
        gfx::delete_image(image);
    }
    // xclip keeps serving the picture in the background until another
    // owner takes the clipboard or the server ends.
    ASSERT_EQ(run({"xclip", "-selection", "clipboard", "-t", "image/png", "-i", png}), 0);

    const WindowInfo w = open_case_window();
    ASSERT_NE(w.id, 0u);
    ASSERT_EQ(run({"xdotool", "key", "ctrl+End", "ctrl+v"}), 0);

    const fs::path images = fs::path(m_root) / "1" / "img";
    std::string jpeg, preview;
    ASSERT_TRUE(wait_for([&] {
        if (!fs::exists(images)) return false;
        for (const auto& entry : fs::recursive_directory_iterator(images)) {
            const std::string p = entry.path().string();
            if (p.size() > 12 && p.compare(p.size() - 12, 12, "_preview.jpg") == 0) {
                preview = p;
            } else if (p.size() > 4 && p.compare(p.size() - 4, 4, ".jpg") == 0) {
                jpeg = p;
            }
        }
        return !jpeg.empty() && !preview.empty();
    }, kSlowWait)) << "no stored picture; log:\n"
        << log();
    // The picture goes into the content on the frame after it was stored,
    // and the autosave writes the content within a second.
    const std::string content = make_path(m_root, m_case.type, m_case, 1);
    EXPECT_TRUE(wait_for([&] {
        std::string data;
        return read_file_all(content, data, 1 << 17) == kIoOk &&
               std::string(data.c_str()).find("**img:00\n") != std::string::npos;
    }, kSlowWait)) << "no marker in the content on disk; log:\n"
        << log();

    // Up puts the caret on the picture's line; Ctrl+C offers the picture
    // to other programs as PNG.
    ASSERT_EQ(run({"xdotool", "key", "--delay", "60", "Up", "ctrl+c"}), 0);
    std::string copied;
    EXPECT_TRUE(wait_for([&] {
        copied = clipboard_out("image/png");
        return copied.rfind("\x89PNG", 0) == 0;
    }, kSlowWait)) << "the clipboard holds " << copied.size() << " bytes; log:\n"
                   << log();
    stop();

    CaseRecord record{};
    std::string text;
    read_case(&record, &text);
    EXPECT_NE(text.find("**img:00\n"), std::string::npos) << text;
    EXPECT_EQ(record.attachments[0].kind, kAttachImage);
    const std::string stored = record.attachments[0].path;
    EXPECT_EQ(stored.rfind("1\\img\\", 0), 0u) << stored;
    // The slot's relative path is the stored file.
    std::string disk = stored;
    for (char& c : disk)
        if (c == '\\') c = '/';
    EXPECT_EQ(fs::path(m_root + disk), fs::path(jpeg));
    gfx::IMAGE* back = gfx::new_image(1, 1);
    EXPECT_EQ(gfx::getimage(back, jpeg.c_str()), 0);
    EXPECT_EQ(back->width, 64);
    gfx::delete_image(back);
}

// Ctrl+A, Ctrl+C: another program reads the Case's text as UTF-8.
TEST_F(ContentE2e, TextCopiedOutIsReadByAnotherProgramAsUtf8) {
    add_case("copy me \xC4\xE3\xBA\xC3\n");  // "copy me 你好"
    const WindowInfo w = open_case_window();
    ASSERT_NE(w.id, 0u);
    ASSERT_EQ(run({"xdotool", "key", "ctrl+a", "ctrl+c"}), 0);
    std::string text;
    EXPECT_TRUE(wait_for([&] {
        text = clipboard_out("UTF8_STRING");
        return text.rfind("copy me 你好", 0) == 0;
    })) << "clipboard: [" << text << "]; log:\n"
        << log();
    stop();
}

// Typed ASCII and Chinese, two undos, and the Case window's close button:
// what is left on the screen is what reaches the disk.
TEST_F(ContentE2e, TypedTextAndTwoUndosReachTheDiskAsShown) {
    add_case("");
    const WindowInfo w = open_case_window();
    ASSERT_NE(w.id, 0u);
    const std::string content = make_path(m_root, m_case.type, m_case, 1);
    std::string text;
    const auto on_disk = [&](const std::string& want) {
        return wait_for([&] {
            std::string data;
            if (read_file_all(content, data, 1 << 17) != kIoOk) return false;
            text = data.c_str();
            return text == want;
        }, kSlowWait);
    };
    // One character at a time, each awaited where the autosave writes it.
    // The typing tool lends a key to each character it has no key for and
    // takes it back at once; when the program reads the key after it was
    // taken back, the character never reaches it, so a missing one is
    // typed again (a character that did arrive is never typed twice: the
    // wait for it is long).
    const std::pair<const char*, const char*> typed[] = {
        {"ab", "ab\n\n\n"},
        {"\u4F60", "ab\xC4\xE3\n\n\n"},          // 你
        {"\u597D", "ab\xC4\xE3\xBA\xC3\n\n\n"},  // 好
    };
    for (const auto& [keys, want] : typed) {
        bool arrived = false;
        for (int attempt = 0; attempt < 3 && !arrived; ++attempt) {
            ASSERT_EQ(run({"xdotool", "type", "--delay", "60", keys}), 0);
            arrived = on_disk(want);
        }
        ASSERT_TRUE(arrived) << "content on disk: [" << text << "]; log:\n" << log();
    }
    ASSERT_EQ(run({"xdotool", "key", "--delay", "60", "ctrl+z", "ctrl+z"}), 0);
    // The close button at the window's top-right corner; the keys before
    // it are taken first, in order.
    xdotool(w, kCloseX, kCloseY, {"click", "1"});
    EXPECT_TRUE(on_disk("ab\n\n\n")) << "content on disk: [" << text << "]; log:\n" << log();
    stop();
    CaseRecord record{};
    read_case(&record, &text);
    EXPECT_EQ(text, "ab\n\n\n");
}

}  // namespace
}  // namespace nd::e2e
