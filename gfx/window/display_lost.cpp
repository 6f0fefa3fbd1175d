#include "gfx/window/display_lost.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "gfx/window/window.h"

namespace gfx {

namespace {

std::atomic<DisplayLostHook> g_hook{nullptr};
std::thread::id g_window_thread;
std::atomic<bool> g_running{false};

// Xlib ends the process when this returns, so it never does. Another
// thread's connection (the clipboard's) may notice first; that thread waits
// for the window's thread, which notices at its next look at its events and
// ends the process after the hook.
int on_io_error(Display*) {
    if (std::this_thread::get_id() != g_window_thread) {
        for (;;) pause();
    }
    int status = 0;
    if (!g_running.exchange(true)) {
        std::fprintf(stderr, "gfx: the display went away\n");
        if (DisplayLostHook hook = g_hook.load()) status = hook();
    }
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace

void set_display_lost_hook(DisplayLostHook hook) {
    g_hook.store(hook);
}

void watch_display_loss() {
    g_window_thread = std::this_thread::get_id();
    XSetIOErrorHandler(on_io_error);
}

}  // namespace gfx
