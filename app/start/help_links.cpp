#include "app/start/help_links.h"

#include "base/servers_cfg.h"
#include "base/web_address.h"

namespace nd::start {

namespace {

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

}  // namespace nd::start
