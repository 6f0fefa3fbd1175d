#include "base/servers_cfg.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace nd {
namespace {

std::string trim(const std::string& s) {
    const char* space = " \t\r\n";
    const size_t first = s.find_first_not_of(space);
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(space) - first + 1);
}

}  // namespace

bool parse_host_port(const std::string& text, int default_port, ServerAddress* out) {
    const std::string t = trim(text);
    const size_t colon = t.rfind(':');
    std::string host = t;
    int port = default_port;
    if (colon != std::string::npos) {
        host = t.substr(0, colon);
        const std::string digits = t.substr(colon + 1);
        char* end = nullptr;
        const long p = std::strtol(digits.c_str(), &end, 10);
        if (digits.empty() || *end != '\0' || p < 1 || p > 65535) return false;
        port = static_cast<int>(p);
    }
    if (host.empty() || host.find_first_of(" \t/") != std::string::npos) return false;
    out->host = host;
    out->port = port;
    return true;
}

int parse_servers_cfg(const std::string& text, ServersConfig* config, std::string* reason) {
    std::istringstream in(text);
    std::string line;
    int status = 0;
    int number = 0;
    auto fail = [&](const std::string& why) {
        if (status == 0 && reason)
            *reason = "servers.cfg line " + std::to_string(number) + ": " + why;
        status = -1;
    };
    while (std::getline(in, line)) {
        ++number;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        const std::string t = trim(line);
        if (t.empty()) continue;
        const size_t eq = t.find('=');
        if (eq == std::string::npos) {
            fail("expected key = value");
            continue;
        }
        const std::string key = trim(t.substr(0, eq));
        const std::string value = trim(t.substr(eq + 1));
        if (key == "control" || key == "update") {
            ServerAddress& target = key == "control" ? config->control : config->update;
            ServerAddress parsed;
            if (parse_host_port(value, key == "control" ? 9910 : 9921, &parsed))
                target = parsed;
            else
                fail("bad address '" + value + "'");
        } else if (key == "assets") {
            config->assets = value;
        } else if (key == "notes") {
            config->notes = value;
        } else if (key == "help") {
            config->help = value;
        } else if (key == "guide") {
            config->guide = value;
        }
    }
    return status;
}

int load_servers_cfg(const std::string& path, ServersConfig* config, std::string* reason) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return 0;
    // A few lines of addresses; anything past 64 KiB is not read.
    std::string text(64 * 1024, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return parse_servers_cfg(text, config, reason);
}

}  // namespace nd
