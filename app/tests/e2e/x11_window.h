// Looking at and poking the program's windows on the test's X server, in
// place of a window manager and a screenshot tool.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

namespace nd::e2e {

constexpr const char* kWindowClass = "Nodrel Canvas";

struct WindowInfo {
    Window id = 0;
    int x = 0, y = 0, width = 0, height = 0;
    bool borderless = false;
};

class XServer {
public:
    // The display named by DISPLAY, or `display`.
    explicit XServer(const char* display = nullptr);
    ~XServer();
    bool ok() const { return m_dpy != nullptr; }

    // SDL marks a window borderless only when the Motif hints atom exists,
    // which a desktop's window manager makes; a bare test server needs this.
    void make_window_manager_atoms();
    // The first mapped window of our class, optionally of a given size;
    // waits up to `timeout_ms`. id 0 when none appeared.
    WindowInfo wait_window(int timeout_ms, int width = 0, int height = 0);
    // Pixels of the window whose colour (red, green, blue) is `rgb`; -1 when
    // the window cannot be read.
    long count_pixels(Window w, uint32_t rgb);
    // The colour (red, green, blue) of one pixel; -1 when it cannot be read.
    long pixel(Window w, int x, int y);
    // WM_DELETE_WINDOW, as a window manager's close button sends it.
    void request_close(Window w);
    // Unmaps the window, which is what minimising looks like to the program.
    void unmap(Window w);
    // The window's first icon (_NET_WM_ICON): its size and its pixels as
    // 0xAARRGGBB, row by row; false when it carries none.
    bool icon(Window w, int* width, int* height, std::vector<uint32_t>* pixels);

private:
    Display* m_dpy = nullptr;
};

}  // namespace nd::e2e
