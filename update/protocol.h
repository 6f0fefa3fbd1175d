// The updater's wire messages and version rule. All integers on the wire are
// little-endian; the control connection carries 16-bit message codes
// followed by fixed records, the download connection one request and one
// sized reply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace nd {

constexpr int kControlPort = 9910;
constexpr int kDownloadPort = 9921;
constexpr uint16_t kMsgHello = 0x2009;  // hello from the client, version reply from the server
constexpr uint16_t kMsgKeepAlive = 0x1004;
constexpr uint16_t kMsgDownload = 0x2010;

// Network transfers move at most this many bytes per send or receive call.
constexpr size_t kTransferPiece = 8192;

// The hello record that follows kMsgHello from the client. Every byte but
// the named ones is zero from our clients, as every peer of the format
// expects. The release server still reads the first twelve as a stated
// version (major, minor, patch, 32-bit little-endian each): a client that
// fills them is offered the newest release of its own major version, and
// one that leaves them zero the newest of all.
struct HelloRecord {
    uint8_t installed[12];  // 0: zero from our clients; see above
    uint8_t reserved0[88];
    uint8_t kind;  // 100: always 2
    uint8_t reserved1[7];
    char program[48];      // 108: "update", zero-terminated
    uint8_t product_type;  // 156
    uint8_t product_flag;  // 157: the product's flag byte from config.cfg
    uint8_t reserved2[6];
};
static_assert(sizeof(HelloRecord) == 164);
static_assert(offsetof(HelloRecord, installed) == 0);
static_assert(offsetof(HelloRecord, kind) == 100);
static_assert(offsetof(HelloRecord, program) == 108);
static_assert(offsetof(HelloRecord, product_type) == 156);
static_assert(offsetof(HelloRecord, product_flag) == 157);

struct Version {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t patch = 0;
    bool operator==(const Version&) const = default;
};

HelloRecord make_hello(uint8_t product_type, uint8_t product_flag);
// The version a hello states; zero when the sender gave none.
Version hello_installed_version(const HelloRecord& hello);

// The single number versions are ordered by. Computed in 64 bits so large
// major numbers cannot wrap around.
inline uint64_t version_number(const Version& v) {
    return v.major * 1000000ull + v.minor * 10000ull + v.patch;
}

// True when `offered` should replace `installed`: it must be newer, and a
// release of a higher major version is never installed by this updater.
inline bool offers_update(const Version& installed, const Version& offered) {
    return version_number(offered) > version_number(installed) && offered.major <= installed.major;
}

// The version reply that follows kMsgHello from the server: major, minor,
// patch and a size value the client does not use.
constexpr size_t kVersionReplySize = 16;
void encode_version_reply(const Version& v, uint32_t size_value, uint8_t out[kVersionReplySize]);
Version decode_version_reply(const uint8_t in[kVersionReplySize]);

// Download replies announce 100 chunks of S bytes and a remainder of R
// bytes. A client refuses anything above this bound before allocating.
constexpr uint64_t kMaxReleaseBytes = 512ull << 20;
// Total bytes of a reply, or -1 when it exceeds kMaxReleaseBytes.
int64_t release_size(uint32_t chunk, uint32_t remainder);

inline void put_u16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void put_u32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline uint16_t get_u16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t get_u32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

std::string version_text(const Version& v);

}  // namespace nd
