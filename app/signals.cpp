#include "app/signals.h"

#include <signal.h>

#include "gfx/window/window.h"

namespace nd {

namespace {

// Only marks the window as told to stop; whatever runs when a signal arrives
// (a save during shutdown included) carries on, and a second signal does the
// same harmless thing again.
void on_stop_signal(int) {
    gfx::request_stop();
}

}  // namespace

void install_stop_signals() {
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    // Interrupted reads and writes resume instead of failing half-done.
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace nd
