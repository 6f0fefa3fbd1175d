// The clipboard and drops on a real X server (run under
// tools/testing/with-xvfb.sh), against xclip and a peer of the test's own:
// text, pictures and file lists both ways, transfers large enough for INCR in
// both directions, owners that never answer, and files dragged onto the
// window. Every wait is on a condition, with a deadline.
// GoogleTest first: the X headers define macros (None, Bool) it also uses.
#include <gtest/gtest.h>
// clang-format off
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
// clang-format on
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "gfx/picture.h"
#include "gfx/window/clipboard.h"
#include "gfx/window/clipboard_fake.h"
#include "gfx/window/drops.h"
#include "gfx/window/window.h"
#include "gfx/window/x11_selection.h"
#include "x11_peer.h"

extern char** environ;

namespace gfx {
namespace {

using gfx::testing::PeerOptions;
using gfx::testing::X11Peer;

// Polls `done` until it holds or `ms` pass; with a window open the window's
// events are handled meanwhile.
bool wait_until(const std::function<bool()>& done, uint64_t ms = 5000) {
    uint64_t deadline = tick_ms() + ms;
    while (!done()) {
        if (tick_ms() >= deadline) return false;
        if (window_alive()) {
            frame_wait(200);
        } else {
            plain_sleep(2);
        }
    }
    return true;
}

std::vector<char*> argv_of(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

// Runs xclip to read the clipboard and returns what it printed.
std::string xclip_out(const std::string& target) {
    std::vector<std::string> args{"xclip", "-o", "-selection", "clipboard", "-t", target};
    int out[2];
    EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    pid_t pid = 0;
    std::vector<char*> argv = argv_of(args);
    EXPECT_EQ(posix_spawnp(&pid, "xclip", &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[65536];
    uint64_t deadline = tick_ms() + 10000;
    for (;;) {
        pollfd fd{out[0], POLLIN, 0};
        if (poll(&fd, 1, 100) > 0) {
            ssize_t n = read(out[0], buffer, sizeof(buffer));
            if (n <= 0) break;
            text.append(buffer, static_cast<size_t>(n));
        }
        if (tick_ms() > deadline) {
            ADD_FAILURE() << "xclip -o " << target << " did not finish";
            kill(pid, SIGKILL);
            break;
        }
    }
    close(out[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return text;
}

class ClipboardOnX : public ::testing::Test {
protected:
    void SetUp() override {
        m_dpy = XOpenDisplay(nullptr);
        ASSERT_NE(m_dpy, nullptr) << "run under tools/testing/with-xvfb.sh";
        m_clipboard = XInternAtom(m_dpy, "CLIPBOARD", False);
        force_headless(false);
        clipboard_reset();
        ASSERT_TRUE(clipboard_available());
    }
    void TearDown() override {
        for (pid_t pid : m_xclips) {
            kill(pid, SIGTERM);
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }
        clipboard_reset();
        if (m_dpy) XCloseDisplay(m_dpy);
    }

    Window owner() { return XGetSelectionOwner(m_dpy, m_clipboard); }

    // Leaves the clipboard without an owner, so that an owner offering
    // anew shows as a new owner even when it owned the clipboard before.
    void clear_owner() {
        XSetSelectionOwner(m_dpy, m_clipboard, None, CurrentTime);
        XSync(m_dpy, False);
    }

    // Waits until someone other than `before` owns the clipboard.
    void wait_new_owner(Window before) {
        ASSERT_TRUE(wait_until([&] { return owner() != None && owner() != before; }));
    }

    // xclip serving `data` as `target` in the foreground until it is killed.
    void xclip_in(const std::string& target, const std::string& data) {
        Window before = owner();
        std::vector<std::string> args{"xclip",     "-i", "-quiet", "-selection",
                                      "clipboard", "-t", target};
        int in[2];
        ASSERT_EQ(pipe2(in, O_CLOEXEC), 0);
        int devnull = open("/dev/null", O_WRONLY | O_CLOEXEC);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, devnull, 1);
        posix_spawn_file_actions_adddup2(&actions, devnull, 2);
        pid_t pid = 0;
        std::vector<char*> argv = argv_of(args);
        ASSERT_EQ(posix_spawnp(&pid, "xclip", &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        m_xclips.push_back(pid);
        close(in[0]);
        close(devnull);
        size_t done = 0;
        while (done < data.size()) {
            ssize_t n = write(in[1], data.data() + done, data.size() - done);
            if (n < 0 && errno == EINTR) continue;
            ASSERT_GT(n, 0);
            done += static_cast<size_t>(n);
        }
        close(in[1]);
        wait_new_owner(before);
    }

    // Reads through the layer, waiting for the answer; `*waited` gets the time.
    static ClipboardContent read(ClipAccept accept, uint64_t* waited = nullptr) {
        uint64_t start = tick_ms();
        int ticket = clipboard_request(accept);
        EXPECT_GT(ticket, 0);
        EXPECT_LT(tick_ms() - start, 100u) << "asking must not wait for the owner";
        ClipboardContent out;
        EXPECT_TRUE(wait_until([&] { return clipboard_poll(ticket, &out) == 1; }, 15000));
        if (waited) *waited = tick_ms() - start;
        return out;
    }

    ::Display* m_dpy = nullptr;
    Atom m_clipboard = 0;
    std::vector<pid_t> m_xclips;
};

std::string png_of(const std::vector<uint32_t>& pixels, int width, int height) {
    std::vector<uint8_t> png;
    EXPECT_EQ(detail::encode_png(pixels.data(), width, height, &png), kOk);
    return std::string(png.begin(), png.end());
}

// A picture whose PNG does not shrink much: noise from a fixed seed.
std::vector<uint32_t> noise(int count) {
    std::vector<uint32_t> pixels(static_cast<size_t>(count));
    uint32_t state = 12345;
    for (uint32_t& p : pixels) {
        state = state * 1103515245u + 12345u;
        p = 0xFF000000u | (state >> 8);
    }
    return pixels;
}

TEST_F(ClipboardOnX, ReadsUtf8TextFromAnotherProgram) {
    // 中文 and ASCII on two lines with a CR LF, and an emoji GBK lacks.
    xclip_in("UTF8_STRING", "\xE4\xB8\xAD\xE6\x96\x87 ok\r\nline2\xF0\x9F\x98\x80");
    EXPECT_TRUE(wait_until([] { return clipboard_query() == kClipText; }));
    ClipboardContent out = read(ClipAccept::kTextOnly);
    EXPECT_EQ(out.kind, kClipText);
    EXPECT_EQ(out.text, "\xD6\xD0\xCE\xC4 ok\nline2");
}

TEST_F(ClipboardOnX, ReadsAPngFromAnotherProgram) {
    std::vector<uint32_t> pixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                    0xFF000000, 0xFFFFFFFF, 0xFF808080};
    xclip_in("image/png", png_of(pixels, 3, 2));
    EXPECT_TRUE(wait_until([] { return clipboard_query() == kClipBitmap; }));
    EXPECT_EQ(read(ClipAccept::kTextOnly).kind, kClipNothing);
    ClipboardContent out = read(ClipAccept::kAnything);
    ASSERT_EQ(out.kind, kClipBitmap);
    EXPECT_EQ(out.image->width, 3);
    EXPECT_EQ(out.image->pixels, pixels);
}

TEST_F(ClipboardOnX, ReadsFilesCutInAFileManager) {
    X11Peer peer;
    Window before = owner();
    peer.offer("CLIPBOARD",
               {{"x-special/gnome-copied-files", "cut\nfile:///tmp/a%20b\nfile:///tmp/c"},
                {"text/uri-list", "file:///tmp/a%20b\r\nfile:///tmp/c\r\n"},
                {"UTF8_STRING", "/tmp/a b\n/tmp/c"}});
    wait_new_owner(before);
    ClipboardContent out = read(ClipAccept::kAnything);
    EXPECT_EQ(out.kind, kClipFiles);
    EXPECT_EQ(out.effect, FileEffect::kCut);
    EXPECT_EQ(out.files, (std::vector<std::string>{"/tmp/a b", "/tmp/c"}));
    EXPECT_EQ(read(ClipAccept::kTextOnly).text, "/tmp/a b\n/tmp/c");
}

TEST_F(ClipboardOnX, AnotherProgramReadsOurText) {
    Window before = owner();
    const char text[] = "\xD6\xD0\xCE\xC4\r\ncaf\xA8\xA6";  // 中文, CR LF, café
    ASSERT_EQ(clipboard_write_text(text, sizeof(text) - 1), 0);
    wait_new_owner(before);
    EXPECT_EQ(xclip_out("UTF8_STRING"), "\xE4\xB8\xAD\xE6\x96\x87\ncaf\xC3\xA9");
    EXPECT_EQ(xclip_out("text/plain;charset=utf-8"), "\xE4\xB8\xAD\xE6\x96\x87\ncaf\xC3\xA9");
    EXPECT_EQ(xclip_out("STRING"), "??\ncaf\xE9");
    std::string targets = xclip_out("TARGETS");
    EXPECT_NE(targets.find("UTF8_STRING"), std::string::npos) << targets;
    EXPECT_NE(targets.find("TIMESTAMP"), std::string::npos) << targets;
    // Our own clipboard reads back without a round trip through the server.
    EXPECT_TRUE(wait_until([] { return clipboard_query() == kClipText; }));
    EXPECT_EQ(read(ClipAccept::kAnything).text, "\xD6\xD0\xCE\xC4\ncaf\xA8\xA6");
}

TEST_F(ClipboardOnX, AnotherProgramReadsOurPictureUntilItTakesTheClipboard) {
    Window before = owner();
    IMAGE* image = new_image(5, 4);
    put_pixel(2, 1, 0xFF336699, image);
    ASSERT_EQ(clipboard_write_image(image), 0);
    delete_image(image);
    wait_new_owner(before);
    for (int i = 0; i < 2; ++i) {  // served again and again, not once
        std::string png = xclip_out("image/png");
        detail::Picture picture;
        ASSERT_EQ(
            detail::decode_png(reinterpret_cast<const uint8_t*>(png.data()), png.size(), &picture),
            kOk);
        EXPECT_EQ(picture.width, 5);
        EXPECT_EQ(picture.pixels[1 * 5 + 2], 0xFF336699u);
        EXPECT_EQ(picture.pixels[0], 0xFF000000u);
    }
    EXPECT_TRUE(wait_until([] { return clipboard_query() == kClipBitmap; }));
    // Another program takes the clipboard: ours is given up, reads see theirs.
    xclip_in("UTF8_STRING", "theirs");
    EXPECT_TRUE(wait_until([] { return clipboard_query() == kClipText; }));
    EXPECT_EQ(read(ClipAccept::kAnything).text, "theirs");
}

TEST_F(ClipboardOnX, LargeTransfersGoByIncrBothWays) {
    // Out: 1 MiB of text and a picture of about 1.5 MB, pieces of 128 KiB.
    std::string big(1 << 20, 'x');
    for (size_t i = 0; i < big.size(); i += 997) big[i] = static_cast<char>('a' + i % 26);
    ASSERT_GT(big.size(), clip::kIncrPieceBytes);
    clear_owner();
    ASSERT_EQ(clipboard_write_text(big.data(), big.size()), 0);
    wait_new_owner(None);
    EXPECT_EQ(xclip_out("UTF8_STRING"), big);

    std::vector<uint32_t> pixels = noise(700 * 700);
    IMAGE* image = new_image(700, 700);
    image->pixels = pixels;
    clear_owner();
    ASSERT_EQ(clipboard_write_image(image), 0);
    delete_image(image);
    wait_new_owner(None);
    std::string png = xclip_out("image/png");
    ASSERT_GT(png.size(), clip::kIncrPieceBytes);
    detail::Picture picture;
    ASSERT_EQ(
        detail::decode_png(reinterpret_cast<const uint8_t*>(png.data()), png.size(), &picture),
        kOk);
    EXPECT_EQ(picture.pixels, pixels);

    // In: a peer that sends 64 KiB pieces.
    X11Peer peer;
    clear_owner();
    peer.offer("CLIPBOARD", {{"image/png", png_of(noise(600 * 500), 600, 500)}},
               PeerOptions{64 << 10});
    wait_new_owner(None);
    ClipboardContent out = read(ClipAccept::kAnything);
    ASSERT_EQ(out.kind, kClipBitmap);
    EXPECT_EQ(out.image->pixels, noise(600 * 500));

    clear_owner();
    peer.offer("CLIPBOARD", {{"UTF8_STRING", big}}, PeerOptions{64 << 10});
    wait_new_owner(None);
    EXPECT_EQ(read(ClipAccept::kTextOnly).text, big);
}

TEST_F(ClipboardOnX, OwnersThatNeverAnswerAreGivenUpOn) {
    struct Case {
        const char* name;
        PeerOptions options;
    };
    const Case cases[] = {
        {"silent owner", PeerOptions{0, true, false}},
        {"INCR that stops", PeerOptions{1024, false, true}},
    };
    X11Peer peer;
    for (const Case& c : cases) {
        clear_owner();
        peer.offer("CLIPBOARD", {{"UTF8_STRING", std::string(4096, 'q')}}, c.options);
        wait_new_owner(None);
        uint64_t waited = 0;
        ClipboardContent out = read(ClipAccept::kAnything, &waited);
        EXPECT_EQ(out.kind, kClipNothing) << c.name;
        EXPECT_LE(waited, clip::kReadBudgetMs + 1000) << c.name;
    }
    // The clipboard still works afterwards.
    xclip_in("UTF8_STRING", "alive");
    EXPECT_EQ(read(ClipAccept::kTextOnly).text, "alive");
}

TEST_F(ClipboardOnX, FilesDraggedOntoTheWindowArriveAsOneDrop) {
    set_window_mode(0, 50, 40);
    ASSERT_EQ(open_window(200, 150, kWindowBorderless | kWindowManualRefresh), 0);
    ASSERT_FALSE(headless());
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(static_cast<SDL_Window*>(window_handle()), &info));
    Window target = info.info.x11.window;
    ASSERT_TRUE(wait_until([&] {
        XWindowAttributes attributes;
        return XGetWindowAttributes(m_dpy, target, &attributes) &&
               attributes.map_state == IsViewable;
    }));
    int root_x = 0;
    int root_y = 0;
    Window child = 0;
    XTranslateCoordinates(m_dpy, target, DefaultRootWindow(m_dpy), 30, 20, &root_x, &root_y,
                          &child);
    XWarpPointer(m_dpy, None, DefaultRootWindow(m_dpy), 0, 0, 0, 0, root_x, root_y);
    XSync(m_dpy, False);

    X11Peer peer;
    peer.drag(target, root_x, root_y,
              "file:///tmp/one.png\r\nfile:///tmp/two%20words.txt\r\nhttp://example.org/\r\n");
    EXPECT_TRUE(wait_until([] { return drop_pending(); }));
    DropRecord drop;
    ASSERT_TRUE(take_drop(&drop));
    EXPECT_EQ(drop.paths, (std::vector<std::string>{"/tmp/one.png", "/tmp/two words.txt"}));
    EXPECT_EQ(drop.x, 30);
    EXPECT_EQ(drop.y, 20);
    EXPECT_TRUE(wait_until([&] { return peer.finished(); }));
    close_window();
}

}  // namespace
}  // namespace gfx
