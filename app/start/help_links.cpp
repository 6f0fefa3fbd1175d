#include "app/start/help_links.h"

#include "base/process.h"
#include "base/servers_cfg.h"

namespace nd::start {

namespace {

constexpr size_t kMaxAddressBytes = 1024;

bool plain_web_address(const std::string& value) {
    if (value.empty() || value.size() > kMaxAddressBytes) return false;
    if (value.rfind("http://", 0) != 0 && value.rfind("https://", 0) != 0) return false;
    for (unsigned char c : value) {
        if (c <= 0x20 || c >= 0x7F) return false;
    }
    return true;
}

// Only addresses a browser can take as they are reach xdg-open.
HelpLinks links_of(const ServersConfig& config) {
    HelpLinks links;
    if (plain_web_address(config.help)) links.address[0] = config.help;
    if (plain_web_address(config.guide)) links.address[1] = config.guide;
    return links;
}

}  // namespace

// A line the updater could not use does not stop the links on other lines.
HelpLinks parse_help_links(const std::string& text) {
    ServersConfig config;
    std::string reason;
    static_cast<void>(parse_servers_cfg(text, &config, &reason));
    return links_of(config);
}

HelpLinks load_help_links(const std::string& servers_cfg_path) {
    ServersConfig config;
    std::string reason;
    static_cast<void>(load_servers_cfg(servers_cfg_path, &config, &reason));
    return links_of(config);
}

int open_link(const std::string& address) {
    if (!plain_web_address(address)) return -1;
    SpawnOptions options;
    options.search_path = true;
    Spawned opener;
    if (spawn_process("xdg-open", {address}, options, &opener) != 0) return -1;
    // The browser may run for as long as it likes.
    reap_in_background(opener.pid);
    return 0;
}

}  // namespace nd::start
