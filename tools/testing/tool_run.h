// Runs a command-line program as a user would, for the tests of nodrel-tool's
// commands: its exit status and what it printed.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace nd::testing {

struct ToolRun {
    int status;       // exit status, -1 when it did not exit normally
    std::string out;  // standard output, and standard error when asked for
};

inline ToolRun run_tool(const std::string& program, const std::string& args,
                        bool with_errors = true) {
    std::string cmd = program + " " + args + (with_errors ? " 2>&1" : " 2>/dev/null");
    FILE* p = popen(cmd.c_str(), "r");
    ToolRun r{-1, ""};
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

}  // namespace nd::testing
