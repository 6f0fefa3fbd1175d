// The program's first preparations, before any settings are read: limits,
// the command line, the fixed paths and directories, and the random seed.
#pragma once

#include <string>

#include "session/app.h"

namespace nd {

// Only the first argument counts: "-test" runs the exerciser at 30 fps,
// "-local" is accepted for old shortcuts, anything else is ignored.
void read_command_line(App& app, int argc, char** argv);

// Fixes ProgramDir (the current directory) and the paths built from it.
// -1 when the current directory cannot be read or its path is too long for
// the fixed path fields; `reason` then says why.
[[nodiscard]] int fix_paths(App& app, std::string* reason);

// Creates the program's folder in the system temporary directory ($TMPDIR,
// else /tmp) and names the scratch file in it. -1 when the folder cannot be
// made; `reason` then says why.
[[nodiscard]] int prepare_temp_dir(App& app, std::string* reason);

// All of the above plus the limits, the workspaces directory and the seed.
// 0, or -1 with `reason` set.
[[nodiscard]] int start_up(App& app, int argc, char** argv, std::string* reason);

}  // namespace nd
