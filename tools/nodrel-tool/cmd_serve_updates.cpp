// nodrel-tool serve-updates DIR: runs a release server over DIR until it is
// interrupted. Prints one line with the ports in use once it listens.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "tools/nodrel-tool/command.h"
#include "update/server/release_server.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;
void on_signal(int) {
    g_stop = 1;
}

bool parse_port(const char* text, int* out) {
    char* end = nullptr;
    const long p = std::strtol(text, &end, 10);
    if (*end || p < 0 || p > 65535) return false;
    *out = static_cast<int>(p);
    return true;
}

bool parse_version(const char* text, nd::Version* v) {
    char tail = 0;
    return std::sscanf(text, "%u.%u.%u%c", &v->major, &v->minor, &v->patch, &tail) == 3;
}

int run_serve(int argc, char** argv) {
    nd::ReleaseServerOptions options;
    for (int i = 1; i < argc; ++i) {
        const bool has_value = i + 1 < argc;
        if (!std::strcmp(argv[i], "--bind") && has_value) {
            options.bind_address = argv[++i];
        } else if (!std::strcmp(argv[i], "--control-port") && has_value) {
            if (!parse_port(argv[++i], &options.control_port)) return 2;
        } else if (!std::strcmp(argv[i], "--download-port") && has_value) {
            if (!parse_port(argv[++i], &options.download_port)) return 2;
        } else if (!std::strcmp(argv[i], "--offer") && has_value) {
            options.fixed_version = true;
            if (!parse_version(argv[++i], &options.version)) {
                std::fprintf(stderr, "serve-updates: --offer takes MAJOR.MINOR.PATCH\n");
                return 2;
            }
        } else if (argv[i][0] != '-' && options.directory.empty()) {
            options.directory = argv[i];
        } else {
            options.directory.clear();
            break;
        }
    }
    if (options.directory.empty()) {
        std::fprintf(stderr,
                     "usage: nodrel-tool serve-updates DIR [--bind ADDR] [--control-port N] "
                     "[--download-port N] [--offer X.Y.Z]\n");
        return 2;
    }
    if (access(options.directory.c_str(), R_OK | X_OK) != 0) {
        std::fprintf(stderr, "serve-updates: cannot read %s\n", options.directory.c_str());
        return 1;
    }
    nd::ReleaseServer server;
    std::string reason;
    if (server.start(options, &reason) != 0) {
        std::fprintf(stderr, "serve-updates: %s\n", reason.c_str());
        return 1;
    }
    std::signal(SIGINT, on_signal);
    std::signal(SIGTERM, on_signal);
    std::signal(SIGPIPE, SIG_IGN);
    std::printf("serving %s on %s control %d download %d\n", options.directory.c_str(),
                options.bind_address.c_str(), server.control_port(), server.download_port());
    std::fflush(stdout);
    while (!g_stop) usleep(100 * 1000);
    server.stop();
    return 0;
}

const tool::Registration reg({"serve-updates",
                              "serve-updates DIR [--bind ADDR] [--control-port N] "
                              "[--download-port N] [--offer X.Y.Z]",
                              run_serve});

}  // namespace
