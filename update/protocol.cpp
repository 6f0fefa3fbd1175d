#include "update/protocol.h"

#include <cstdio>
#include <cstring>

namespace nd {

HelloRecord make_hello(uint8_t product_type, uint8_t product_flag) {
    HelloRecord h;
    std::memset(&h, 0, sizeof h);
    h.kind = 2;
    std::memcpy(h.program, "update", 7);
    h.product_type = product_type;
    h.product_flag = product_flag;
    return h;
}

Version hello_installed_version(const HelloRecord& hello) {
    return {get_u32(hello.installed), get_u32(hello.installed + 4), get_u32(hello.installed + 8)};
}

void encode_version_reply(const Version& v, uint32_t size_value, uint8_t out[kVersionReplySize]) {
    put_u32(out, v.major);
    put_u32(out + 4, v.minor);
    put_u32(out + 8, v.patch);
    put_u32(out + 12, size_value);
}

Version decode_version_reply(const uint8_t in[kVersionReplySize]) {
    return {get_u32(in), get_u32(in + 4), get_u32(in + 8)};
}

int64_t release_size(uint32_t chunk, uint32_t remainder) {
    const uint64_t total = 100ull * chunk + remainder;  // cannot overflow 64 bits
    return total > kMaxReleaseBytes ? -1 : static_cast<int64_t>(total);
}

std::string version_text(const Version& v) {
    char text[40];
    std::snprintf(text, sizeof text, "%u.%u.%u", v.major, v.minor, v.patch);
    return text;
}

}  // namespace nd
