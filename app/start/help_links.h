// The page's two help links, a usage reference and an interface guide. Their
// addresses come from "servers.cfg" in the program directory (plain text,
// lines "key = value", "#" starts a comment) under the keys "help" and
// "guide"; a link without an address is drawn but does nothing.
#pragma once

#include <string>

namespace nd::start {

struct HelpLinks {
    std::string address[2];  // [0] usage reference, [1] interface guide
};

// Reads the addresses from `servers_cfg_path`; a missing or unreadable file
// leaves both empty, and values that are not plain http(s) addresses are
// skipped.
HelpLinks load_help_links(const std::string& servers_cfg_path);
HelpLinks parse_help_links(const std::string& text);

}  // namespace nd::start
