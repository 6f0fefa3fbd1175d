// Leaving the program: the window closes, the main view saves and goes, and
// after an accepted update the updater runs while this process waits.
#pragma once

#include "session/app.h"

namespace nd {

// Runs the exit steps for app.RunState; returns the process exit status (0).
int shut_down(App& app);

// Starts `update` from `program_dir` with no arguments and waits for it to
// end, however long it takes. 0 when it ran, -1 when it could not be started.
[[nodiscard]] int run_updater(const char* program_dir);

}  // namespace nd
