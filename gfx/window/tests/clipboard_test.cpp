// The clipboard calls without an X server: the in-process clipboard of a
// headless window, a machine with no display at all, and drops arriving as
// the window's events.
#include "gfx/window/clipboard.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "gfx/window/clipboard_fake.h"
#include "gfx/window/drops.h"
#include "gfx/window/input_queue.h"
#include "gfx/window/window.h"
#include "gfx/window/window_state.h"

namespace gfx {
namespace {

class HeadlessClipboard : public ::testing::Test {
protected:
    void SetUp() override {
        force_headless(true);
        ASSERT_EQ(open_window(16, 8, 0x19), 0);
        clipboard_reset();
        fake_clipboard_offer({});
    }
    void TearDown() override {
        clipboard_reset();
        close_window();
    }

    static ClipboardContent read(ClipAccept accept) {
        int ticket = clipboard_request(accept);
        EXPECT_GT(ticket, 0);
        ClipboardContent out;
        EXPECT_EQ(clipboard_poll(ticket, &out), 1);
        EXPECT_EQ(clipboard_poll(ticket, &out), -1);  // spent
        return out;
    }
};

TEST_F(HeadlessClipboard, WrittenTextReadsBack) {
    ASSERT_TRUE(clipboard_available());
    EXPECT_EQ(clipboard_query(), kClipNothing);
    EXPECT_EQ(read(ClipAccept::kAnything).kind, kClipNothing);
    // 中文 on two lines, copied with CR LF.
    const char text[] = "\xD6\xD0\r\n\xCE\xC4";
    ASSERT_EQ(clipboard_write_text(text, sizeof(text) - 1), 0);
    EXPECT_EQ(clipboard_query(), kClipText);
    ClipboardContent out = read(ClipAccept::kTextOnly);
    EXPECT_EQ(out.kind, kClipText);
    EXPECT_EQ(out.text, "\xD6\xD0\n\xCE\xC4");
    EXPECT_EQ(fake_clipboard_contents()[0].second, "\xE4\xB8\xAD\n\xE6\x96\x87");
}

TEST_F(HeadlessClipboard, WrittenPictureReadsBackForTheEditorOnly) {
    IMAGE* image = new_image(4, 3);
    put_pixel(1, 1, 0xFF123456, image);
    ASSERT_EQ(clipboard_write_image(image), 0);
    delete_image(image);
    EXPECT_EQ(clipboard_query(), kClipBitmap);
    EXPECT_EQ(read(ClipAccept::kTextOnly).kind, kClipNothing);
    ClipboardContent out = read(ClipAccept::kAnything);
    ASSERT_EQ(out.kind, kClipBitmap);
    EXPECT_EQ(image_width(out.image.get()), 4);
    EXPECT_EQ(get_pixel(1, 1, out.image.get()), 0xFF123456u);
    EXPECT_EQ(clipboard_write_image(nullptr), kPictureError);
}

TEST_F(HeadlessClipboard, FilesFromAnotherProgram) {
    fake_clipboard_offer({{"x-special/gnome-copied-files", "cut\nfile:///tmp/a\nfile:///tmp/b"},
                          {"UTF8_STRING", "/tmp/a\n/tmp/b"}});
    EXPECT_EQ(clipboard_query(), kClipText);
    ClipboardContent out = read(ClipAccept::kAnything);
    EXPECT_EQ(out.kind, kClipFiles);
    EXPECT_EQ(out.effect, FileEffect::kCut);
    EXPECT_EQ(out.files, (std::vector<std::string>{"/tmp/a", "/tmp/b"}));
}

TEST_F(HeadlessClipboard, CancelledAndUnknownTickets) {
    int ticket = clipboard_request(ClipAccept::kAnything);
    clipboard_cancel(ticket);
    ClipboardContent out;
    EXPECT_EQ(clipboard_poll(ticket, &out), -1);
    EXPECT_EQ(clipboard_poll(12345, &out), -1);
}

TEST(NoDisplayClipboard, IsUnavailableAndHarmless) {
    force_headless(false);
    clipboard_reset();
    const char* saved = std::getenv("DISPLAY");
    std::string display = saved ? saved : "";
    unsetenv("DISPLAY");
    EXPECT_FALSE(clipboard_available());
    EXPECT_EQ(clipboard_request(ClipAccept::kAnything), kClipUnavailable);
    EXPECT_EQ(clipboard_query(), kClipUnavailable);
    EXPECT_EQ(clipboard_write_text("a", 1), kClipUnavailable);
    IMAGE* image = new_image(2, 2);
    EXPECT_EQ(clipboard_write_image(image), kClipUnavailable);
    delete_image(image);
    clipboard_reset();
    if (saved) setenv("DISPLAY", display.c_str(), 1);
}

// Drops arrive as SDL events; headless, the drop point is the last pointer
// position the window saw.
class Drops : public ::testing::Test {
protected:
    void SetUp() override {
        force_headless(true);
        ASSERT_EQ(open_window(64, 48, 0x19), 0);
        push_mouse_message({21, 13, kMouseMove, 0, 0}, tick_ms(), 0);
    }
    void TearDown() override { close_window(); }

    static void send(Uint32 type, const char* file = nullptr) {
        SDL_Event event{};
        event.type = type;
        event.drop.file = file ? SDL_strdup(file) : nullptr;
        translate_event(event);
    }
};

TEST_F(Drops, OneDropOfManyFilesIsOneRecord) {
    EXPECT_FALSE(drop_pending());
    send(SDL_DROPBEGIN);
    for (int i = 0; i < 40; ++i) send(SDL_DROPFILE, ("/tmp/f" + std::to_string(i)).c_str());
    EXPECT_FALSE(drop_pending());  // not before the drop is complete
    send(SDL_DROPCOMPLETE);
    DropRecord drop;
    ASSERT_TRUE(take_drop(&drop));
    EXPECT_EQ(drop.x, 21);
    EXPECT_EQ(drop.y, 13);
    ASSERT_EQ(drop.paths.size(), kClipMaxFiles);
    EXPECT_EQ(drop.paths.front(), "/tmp/f0");
    EXPECT_EQ(drop.paths.back(), "/tmp/f29");
    EXPECT_FALSE(take_drop(&drop));
}

TEST_F(Drops, DropsWithoutFilesQueueNothing) {
    send(SDL_DROPBEGIN);
    send(SDL_DROPTEXT, "some text");
    send(SDL_DROPFILE, "relative/name");
    send(SDL_DROPCOMPLETE);
    send(SDL_DROPCOMPLETE);
    EXPECT_FALSE(drop_pending());
    // A file without a begin event still starts a drop.
    send(SDL_DROPFILE, "/tmp/x");
    send(SDL_DROPCOMPLETE);
    DropRecord drop;
    ASSERT_TRUE(take_drop(&drop));
    EXPECT_EQ(drop.paths, std::vector<std::string>{"/tmp/x"});
}

TEST_F(Drops, ReopeningTheWindowForgetsDrops) {
    send(SDL_DROPFILE, "/tmp/x");
    send(SDL_DROPCOMPLETE);
    ASSERT_TRUE(drop_pending());
    ASSERT_EQ(open_window(64, 48, 0x19), 0);
    EXPECT_FALSE(drop_pending());
}

}  // namespace
}  // namespace gfx
