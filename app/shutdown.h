// Leaving the program: the window closes, the main view saves and goes, and
// after an accepted update the updater runs while this process waits, and
// the program it installed comes back in this process's place.
#pragma once

#include <string>
#include <vector>

#include "session/app.h"

namespace nd {

// Runs the exit steps for app.RunState; returns the process exit status (0).
// After an accepted update that replaced the program file in the program
// directory it does not return: the new program is started in this
// process's place with `args` (the arguments this run was started with).
int shut_down(App& app, const std::vector<std::string>& args);

// The display went away under the program (gfx::set_display_lost_hook):
// the main view saves and goes, as in a normal shutdown, without a word to
// the window. The process's exit status (0).
int save_when_display_lost();

// Starts `update` from `program_dir` with no arguments and waits for it to
// end, however long it takes. 0 when it ran, -1 when it could not be started.
[[nodiscard]] int run_updater(const char* program_dir);

}  // namespace nd
