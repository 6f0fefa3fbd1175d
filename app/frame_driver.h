// The frame driver: one call runs frames until RunState asks for something
// the main loop must do (re-layout, quit, quit and update).
#pragma once

#include "session/app.h"

namespace nd {

void run_frames(App& app);

// The main loop around the frame driver: re-lays-out and resizes the window
// for RunState 3 and 4 and returns once RunState is negative.
void run_main_loop(App& app);

}  // namespace nd
