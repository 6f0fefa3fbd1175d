// Web addresses the program hands to the desktop's browser: the start
// page's help links and the update note's release notes. Only plain http(s)
// addresses go out, and never through a shell.
#pragma once

#include <string>

namespace nd {

// True for an http:// or https:// address of printable ASCII without
// spaces, at most 1,024 bytes: what a browser takes as it is.
bool plain_web_address(const std::string& value);

// Opens `address` with xdg-open (looked up in PATH), as one argument and
// without waiting for the browser. 0, or -1 when the address is not a plain
// web address or xdg-open cannot be started.
[[nodiscard]] int open_web_address(const std::string& address);

}  // namespace nd
