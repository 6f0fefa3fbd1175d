#include <cstdio>
#include <cstring>
#include <vector>

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

}  // namespace tool

int main(int argc, char** argv) {
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
