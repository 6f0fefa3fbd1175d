#include "weblink/address.h"

#include <strings.h>

namespace nd::weblink {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Length of the scheme and "://" that start `address`, or 0.
size_t scheme_length(std::string_view address) {
    for (std::string_view scheme : {std::string_view("http://"), std::string_view("https://")}) {
        if (address.size() >= scheme.size() &&
            strncasecmp(address.data(), scheme.data(), scheme.size()) == 0) {
            return scheme.size();
        }
    }
    return 0;
}

}  // namespace

bool web_scheme(std::string_view address) {
    return scheme_length(address) > 0;
}

bool single_web_address(std::string_view text, std::string* address) {
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    size_t scheme = scheme_length(text);
    if (scheme == 0 || text.size() > kMaxAddressBytes) return false;
    for (unsigned char c : text) {
        if (c <= 0x20 || c >= 0x7F) return false;
    }
    // A host must follow the scheme.
    if (text.size() == scheme ||
        std::string_view("/?#@:").find(text[scheme]) != std::string_view::npos) {
        return false;
    }
    address->assign(text);
    return true;
}

}  // namespace nd::weblink
