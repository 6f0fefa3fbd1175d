// Pasted text that is a web address. A paste of exactly one http or https
// address becomes a web-link attachment instead of text.
#pragma once

#include <string>
#include <string_view>

namespace nd::weblink {

// An address must fit the 255 bytes of an attachment's path field.
constexpr size_t kMaxAddressBytes = 255;

// True when `text`, blanks at either end aside, is one http or https address
// and nothing else: a host after "//", no blank, control byte or byte outside
// printable ASCII inside (browsers copy addresses percent-encoded), at most
// kMaxAddressBytes long. The address goes to `*address`.
bool single_web_address(std::string_view text, std::string* address);

// True for an address that starts with http:// or https:// (any case).
bool web_scheme(std::string_view address);

}  // namespace nd::weblink
