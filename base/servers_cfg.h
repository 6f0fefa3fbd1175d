// "servers.cfg": an optional plain-text file in the program directory that
// names the servers a team runs. One `key = value` per line; '#' starts a
// comment that runs to the end of the line, blank lines are skipped and
// unknown keys are ignored.
//
//   control = host[:port]     control server (default port 9910)
//   update  = host[:port]     update server  (default port 9921)
//   assets  = http://...      asset host
//   notes   = http://...      release-notes page
//   help    = https://...     start page: usage reference
//   guide   = https://...     start page: interface guide
#pragma once

#include <string>

namespace nd {

struct ServerAddress {
    std::string host;
    int port = 0;
};

struct ServersConfig {
    // Built-in names: a team without servers.cfg maps these host names to
    // its own machines (for example in /etc/hosts).
    ServerAddress control{"nodrel-control", 9910};
    ServerAddress update{"nodrel-update", 9921};
    std::string assets;
    std::string notes;
    std::string help;
    std::string guide;
};

// Parses the text of a servers.cfg over the defaults in *config. Returns 0,
// or -1 when a line could not be used; such lines are skipped and *reason
// names the first of them.
[[nodiscard]] int parse_servers_cfg(const std::string& text, ServersConfig* config,
                                    std::string* reason);

// Reads `path` if it exists. A missing file is not an error and leaves the
// defaults. Returns 0, or -1 as parse_servers_cfg does.
[[nodiscard]] int load_servers_cfg(const std::string& path, ServersConfig* config,
                                   std::string* reason);

// Splits "host[:port]", using `default_port` when no port is given. False for
// an empty host or a port outside 1..65535.
bool parse_host_port(const std::string& text, int default_port, ServerAddress* out);

}  // namespace nd
