#include <time.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/park_miller.h"
#include "store/paths.h"
#include "tools/nodrel-tool/command.h"

namespace tool {
namespace {

std::vector<Command>& registry() {
    static std::vector<Command> commands;
    return commands;
}

int usage(FILE* out) {
    std::fprintf(out, "usage: nodrel-tool COMMAND ARGS...\n");
    for (const Command& c : registry()) std::fprintf(out, "  nodrel-tool %s\n", c.usage);
    return 2;
}

}  // namespace

Registration::Registration(const Command& command) { registry().push_back(command); }

bool workspace_root_of(const char* cmd, const char* wk, std::string& root) {
    std::string path = wk;
    if (path.size() < 4 || path.compare(path.size() - 3, 3, ".wk") != 0 ||
        !nd::workspace_root(path, root)) {
        std::fprintf(stderr, "nodrel-tool %s: '%s' is not a .wk path\n", cmd, wk);
        return false;
    }
    return true;
}

}  // namespace tool

int main(int argc, char** argv) {
    // The generator is seeded from the tick count (milliseconds of the
    // monotonic clock), as nodrel seeds it at start: record keys made here
    // get serials of their own, not the same ones on every run.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    nd::seed_random(static_cast<uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000));
    if (argc < 2) return tool::usage(stderr);
    if (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help")) {
        tool::usage(stdout);
        return 0;
    }
    for (const tool::Command& c : tool::registry())
        if (!std::strcmp(c.name, argv[1])) return c.run(argc - 1, argv + 1);
    std::fprintf(stderr, "nodrel-tool: unknown command '%s'\n", argv[1]);
    return tool::usage(stderr);
}
