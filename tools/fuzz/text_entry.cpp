// The plain-text readers: servers.cfg and the clipboard's file lists.
#include <string>
#include <string_view>
#include <vector>

#include "base/servers_cfg.h"
#include "gfx/window/uri_list.h"
#include "tools/fuzz/entries.h"

namespace nd::fuzz {

namespace {

bool address_ok(const ServerAddress& a) {
    return !a.host.empty() && a.port >= 1 && a.port <= 65535;
}

void check_paths(const std::vector<std::string>& paths, size_t max) {
    fuzz_require(paths.size() <= max, "at most the asked number of files");
    for (const std::string& p : paths) {
        fuzz_require(!p.empty() && p[0] == '/', "a file of a list is an absolute path");
        fuzz_require(p.find('\0') == std::string::npos, "a path holds no NUL");
    }
}

}  // namespace

void servers_cfg_one(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ServersConfig config;
    std::string reason;
    const int status = parse_servers_cfg(text, &config, &reason);
    fuzz_require(status == 0 || (status == -1 && !reason.empty()),
                 "servers.cfg parses or names the line it could not use");
    fuzz_require(address_ok(config.control) && address_ok(config.update),
                 "the servers keep a host and a port in range");
    ServerAddress one;
    if (parse_host_port(text, 9910, &one)) fuzz_require(address_ok(one), "a parsed host:port");
}

void uri_list_one(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check_paths(gfx::parse_uri_list(text, 30), 30);
    std::vector<std::string> paths;
    static_cast<void>(gfx::parse_copied_files(text, &paths, 30));
    check_paths(paths, 30);
    std::string path;
    if (gfx::file_uri_to_path(text, &path)) check_paths({path}, 1);
}

}  // namespace nd::fuzz
