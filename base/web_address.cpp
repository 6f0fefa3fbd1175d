#include "base/web_address.h"

#include "base/process.h"

namespace nd {

namespace {

constexpr size_t kMaxAddressBytes = 1024;

}  // namespace

bool plain_web_address(const std::string& value) {
    if (value.empty() || value.size() > kMaxAddressBytes) return false;
    if (value.rfind("http://", 0) != 0 && value.rfind("https://", 0) != 0) return false;
    for (unsigned char c : value) {
        if (c <= 0x20 || c >= 0x7F) return false;
    }
    return true;
}

int open_web_address(const std::string& address) {
    if (!plain_web_address(address)) return -1;
    SpawnOptions options;
    options.search_path = true;
    Spawned opener;
    if (spawn_process("xdg-open", {address}, options, &opener) != 0) return -1;
    // The browser may run for as long as it likes.
    reap_in_background(opener.pid);
    return 0;
}

}  // namespace nd
