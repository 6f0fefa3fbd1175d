#include "app/start/help_links.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace nd::start {

namespace {

constexpr size_t kMaxFileBytes = 64 * 1024;
constexpr size_t kMaxAddressBytes = 1024;

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool plain_web_address(const std::string& value) {
    if (value.empty() || value.size() > kMaxAddressBytes) return false;
    if (value.rfind("http://", 0) != 0 && value.rfind("https://", 0) != 0) return false;
    for (unsigned char c : value) {
        if (c <= 0x20 || c >= 0x7F) return false;
    }
    return true;
}

}  // namespace

HelpLinks parse_help_links(const std::string& text) {
    HelpLinks links;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() > kMaxAddressBytes + 64) continue;
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = trim(line.substr(0, eq));
        std::string value = trim(line.substr(eq + 1));
        if (!plain_web_address(value)) continue;
        if (key == "help") links.address[0] = value;
        if (key == "guide") links.address[1] = value;
    }
    return links;
}

HelpLinks load_help_links(const std::string& servers_cfg_path) {
    std::ifstream file(servers_cfg_path, std::ios::binary);
    if (!file) return {};
    std::string text(kMaxFileBytes, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(file.gcount()));
    return parse_help_links(text);
}

int open_link(const std::string& address) {
    if (!plain_web_address(address)) return -1;
    char program[] = "xdg-open";
    std::string arg = address;
    char* argv[] = {program, arg.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return -1;
    // The browser may run for as long as it likes; a detached thread reaps
    // the opener so it leaves no zombie behind.
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return 0;
}

}  // namespace nd::start
