// A nodrel-tool command: a name, a one-line usage and an entry point that
// returns the process exit status (0 success, 1 failure, 2 bad arguments).
#pragma once

#include <string>

namespace tool {

struct Command {
    const char* name;
    const char* usage;  // shown after "nodrel-tool "
    int (*run)(int argc, char** argv);  // argv[0] is the command name
};

// Each command file holds one static Registration for each of its commands.
struct Registration {
    explicit Registration(const Command& command);
};

// The workspace root of the argument `wk` of command `cmd`, which must be a
// ".wk" path; says why on stderr when it is not.
bool workspace_root_of(const char* cmd, const char* wk, std::string& root);

}  // namespace tool
