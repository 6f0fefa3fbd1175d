// GBK decoding through iconv. The two-byte characters are looked up once per
// process into a table, so decoding a line costs no iconv calls.
#include "gfx/gbk.h"

#include <iconv.h>

#include <cstring>
#include <mutex>
#include <vector>

namespace gfx::detail {
namespace {

bool is_lead(uint8_t b) {
    return b >= 0x81 && b <= 0xFE;
}
bool is_trail(uint8_t b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

iconv_t open_from_gbk(const char* to) {
    iconv_t cd = iconv_open(to, "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open(to, "GBK");
    return cd;
}

// One character of `len` bytes to a code point, or 0 when it maps to nothing.
uint32_t convert_one(iconv_t cd, const uint8_t* bytes, size_t len) {
    char in[2] = {static_cast<char>(bytes[0]), len > 1 ? static_cast<char>(bytes[1]) : '\0'};
    uint32_t out = 0;
    char* ip = in;
    char* op = reinterpret_cast<char*>(&out);
    size_t il = len, ol = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0) return 0;
    return out;
}

// Index (lead - 0x81) * 256 + trail; 0 means no character. Single bytes
// 0x80..0xFF sit at the end.
struct Table {
    std::vector<uint32_t> pairs;
    uint32_t high[128];
};

const Table& table() {
    static Table t;
    static std::once_flag once;
    std::call_once(once, [] {
        t.pairs.assign(126 * 256, 0);
        std::memset(t.high, 0, sizeof t.high);
        iconv_t cd = open_from_gbk("UTF-32LE");
        if (cd == reinterpret_cast<iconv_t>(-1)) return;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F) continue;
                const uint8_t b[2] = {static_cast<uint8_t>(lead), static_cast<uint8_t>(trail)};
                t.pairs[(lead - 0x81) * 256 + trail] = convert_one(cd, b, 2);
            }
        }
        for (int c = 0x80; c <= 0xFF; ++c) {
            const uint8_t b[1] = {static_cast<uint8_t>(c)};
            t.high[c - 0x80] = convert_one(cd, b, 1);
        }
        iconv_close(cd);
    });
    return t;
}

}  // namespace

uint32_t gbk_next(const char* text, int* length) {
    const uint8_t b0 = static_cast<uint8_t>(text[0]);
    *length = 1;
    if (b0 < 0x80) return b0;
    const Table& t = table();
    if (is_lead(b0)) {
        const uint8_t b1 = static_cast<uint8_t>(text[1]);
        if (b1 == 0) return 0;
        if (is_trail(b1)) {
            *length = 2;
            const uint32_t cp = t.pairs[(b0 - 0x81) * 256 + b1];
            return cp != 0 ? cp : '?';
        }
    }
    const uint32_t cp = t.high[b0 - 0x80];
    return cp != 0 ? cp : '?';
}

std::string gbk_to_utf8(const char* text) {
    std::string out;
    for (const char* p = text; *p != '\0';) {
        int len = 1;
        const uint32_t cp = gbk_next(p, &len);
        p += len;
        if (cp == 0) continue;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

}  // namespace gfx::detail
