// The window layer on a real X server (run under tools/testing/with-xvfb.sh):
// what the window shows, what it is called, and input sent through the
// server arriving in the queues as the programs expect it.
// GoogleTest first: the X headers define macros (None, Bool) it also uses.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>
#include <vector>

#include "gfx/window/key_map.h"
#include "gfx/window/window.h"

extern char** environ;

namespace gfx {
namespace {

void xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawnp(&pid, "xdotool", nullptr, nullptr, argv.data(), environ), 0);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

// Lets the window take in what the server sent: a few frames at 100 fps.
void run_frames(int n) {
    for (int i = 0; i < n; ++i) frame_wait(100);
}

class WindowOnX : public ::testing::Test {
protected:
    void SetUp() override {
        m_dpy = XOpenDisplay(nullptr);
        ASSERT_NE(m_dpy, nullptr) << "run under tools/testing/with-xvfb.sh";
        // A window manager would have made this atom; SDL marks borderless
        // windows only when it exists.
        XInternAtom(m_dpy, "_MOTIF_WM_HINTS", False);
        XSync(m_dpy, False);
        set_caption("\xB2\xE2\xCA\xD4");  // 测试, before the window exists
        set_window_mode(0, 40, 30);
        ASSERT_EQ(open_window(64, 48, kWindowBorderless | kWindowManualRefresh), 0);
        ASSERT_FALSE(headless());
        run_frames(5);
        m_window = find_window(DefaultRootWindow(m_dpy));
        ASSERT_NE(m_window, 0u);
    }
    void TearDown() override {
        close_window();
        if (m_dpy) XCloseDisplay(m_dpy);
    }

    Window find_window(Window parent) {
        Window root = 0, up = 0, found = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(m_dpy, parent, &root, &up, &children, &count)) return 0;
        for (unsigned i = 0; i < count && !found; ++i) {
            XClassHint hint{};
            if (XGetClassHint(m_dpy, children[i], &hint)) {
                if (std::string(hint.res_class) == "Nodrel Canvas") found = children[i];
                XFree(hint.res_name);
                XFree(hint.res_class);
            }
            if (!found) found = find_window(children[i]);
        }
        if (children) XFree(children);
        return found;
    }

    uint32_t shown_pixel(int x, int y) {
        XImage* image = XGetImage(m_dpy, m_window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return 0xDEADBEEF;
        uint32_t p = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
        XDestroyImage(image);
        return p;
    }

    std::string utf8_property(const char* name) {
        Atom prop = XInternAtom(m_dpy, name, False);
        Atom type = 0;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        std::string out;
        if (XGetWindowProperty(m_dpy, m_window, prop, 0, 256, False, AnyPropertyType, &type,
                               &format, &n, &after, &data) == Success &&
            data) {
            out.assign(reinterpret_cast<char*>(data), n);
            XFree(data);
        }
        return out;
    }

    std::string id() const { return std::to_string(m_window); }

    ::Display* m_dpy = nullptr;
    Window m_window = 0;
};

TEST_F(WindowOnX, ShowsThePagePixelForPixel) {
    // Rasterised drawing leaves alpha 0, blends keep any alpha: the window
    // shows red, green and blue exactly, whatever the alpha byte.
    const Color colours[] = {0x00123456, 0x80ABCDEF, 0xFF000000, 0xFFFFFFFF, 0x01FE01FE};
    for (int i = 0; i < 5; ++i) put_pixel(10 + i, 20, colours[i]);
    put_pixel(63, 47, 0xFF00FF00);
    // Manual refresh: nothing new is shown before the next frame.
    run_frames(2);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(shown_pixel(10 + i, 20), colours[i] & 0xFFFFFF) << i;
    EXPECT_EQ(shown_pixel(63, 47), 0x00FF00u);
    EXPECT_EQ(shown_pixel(0, 0), 0x000000u);
}

TEST_F(WindowOnX, NameClassPlaceAndResize) {
    EXPECT_EQ(utf8_property("_NET_WM_NAME"), "\xE6\xB5\x8B\xE8\xAF\x95");
    XWindowAttributes attr{};
    XGetWindowAttributes(m_dpy, m_window, &attr);
    EXPECT_EQ(attr.width, 64);
    EXPECT_EQ(attr.height, 48);
    Window child = 0;
    int x = 0, y = 0;
    XTranslateCoordinates(m_dpy, m_window, DefaultRootWindow(m_dpy), 0, 0, &x, &y, &child);
    EXPECT_EQ(x, 40);
    EXPECT_EQ(y, 30);

    resize_window(80, 20);
    EXPECT_EQ(image_width(screen_page()), 80);
    EXPECT_EQ(image_height(screen_page()), 20);
    move_window(5, 6);
    run_frames(5);
    XGetWindowAttributes(m_dpy, m_window, &attr);
    EXPECT_EQ(attr.width, 80);
    EXPECT_EQ(attr.height, 20);
    XTranslateCoordinates(m_dpy, m_window, DefaultRootWindow(m_dpy), 0, 0, &x, &y, &child);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);

    Rect area = work_area();
    EXPECT_EQ(area.w, 1600);
    EXPECT_EQ(area.h, 900);
}

TEST_F(WindowOnX, ServerInputReachesTheQueues) {
    xdotool({"mousemove", "--window", id(), "12", "9"});
    xdotool({"click", "1", "click", "3", "click", "4"});
    xdotool({"key", "a", "ctrl+v", "F5"});
    run_frames(10);

    std::vector<MouseMsg> mouse;
    while (mouse_pending()) mouse.push_back(get_mouse());
    std::vector<MouseMsg> presses;
    int wheel = 0;
    for (const MouseMsg& m : mouse) {
        if (m.kind == kMouseDown) presses.push_back(m);
        if (m.kind == kMouseWheel) wheel += m.wheel;
    }
    ASSERT_EQ(presses.size(), 2u);
    EXPECT_EQ(presses[0].flags, kMouseLeft);
    EXPECT_EQ(presses[0].x, 12);
    EXPECT_EQ(presses[0].y, 9);
    EXPECT_EQ(presses[1].flags, kMouseRight);
    EXPECT_EQ(wheel, 120);  // turned away from the user
    int x = 0, y = 0;
    mouse_position(&x, &y);
    EXPECT_EQ(x, 12);
    EXPECT_EQ(y, 9);

    EXPECT_EQ(get_char(), 'a');
    EXPECT_EQ(get_char(), 22);                 // Ctrl+V types character 22
    EXPECT_EQ(get_char(), kVkF1 + 4 + 0x100);  // F5
    EXPECT_EQ(key_down('A'), 0);
}

// The frame loop asks whether pointer input is waiting before it asks for
// keys; the question itself must take in what the window received, as the
// key query does, or a click would wait for an unrelated key.
TEST_F(WindowOnX, MousePendingTakesInWhatTheWindowReceived) {
    run_frames(2);
    while (mouse_pending()) get_mouse();
    xdotool({"mousemove", "--window", id(), "20", "15", "click", "1"});
    bool pending = false;
    for (int i = 0; i < 200 && !pending; ++i) {
        pending = mouse_pending();
        if (!pending) sleep_ms(5);
    }
    EXPECT_TRUE(pending);
}

}  // namespace
}  // namespace gfx
