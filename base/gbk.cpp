// Decoding uses a table made once per process with iconv, so drawing a line
// costs no conversions; encoding asks iconv character by character, which
// is how a character without a GBK form is refused alone.
#include "base/gbk.h"

#include <iconv.h>

#include <cstring>
#include <mutex>
#include <vector>

namespace nd {

namespace {

bool iconv_failed(iconv_t cd) {
    return cd == reinterpret_cast<iconv_t>(-1);
}

// One character through `cd` into `out`, whose room `*out_len` becomes the
// bytes written; false when iconv refuses it or leaves part of it.
bool convert_one(iconv_t cd, const char* in, size_t in_len, char* out, size_t* out_len) {
    char* in_ptr = const_cast<char*>(in);
    char* out_ptr = out;
    size_t in_left = in_len;
    size_t out_left = *out_len;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<size_t>(-1) ||
        in_left != 0) {
        return false;
    }
    *out_len = static_cast<size_t>(out_ptr - out);
    return true;
}

// Code points of every pair, at (lead - 0x81) * 256 + trail, and of the
// single bytes 0x80..0xFF; 0 where there is no character.
struct DecodeTable {
    std::vector<uint32_t> pairs;
    uint32_t high[128];
};

uint32_t decode_with(iconv_t cd, const char* bytes, size_t len) {
    uint32_t code = 0;
    size_t out_len = sizeof code;
    if (!convert_one(cd, bytes, len, reinterpret_cast<char*>(&code), &out_len)) return 0;
    return out_len == sizeof code ? code : 0;
}

const DecodeTable& decode_table() {
    static DecodeTable table;
    static std::once_flag once;
    std::call_once(once, [] {
        table.pairs.assign(126 * 256, 0);
        std::memset(table.high, 0, sizeof table.high);
        iconv_t cd = iconv_open("UTF-32LE", "CP936");
        if (iconv_failed(cd)) return;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F) continue;
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                table.pairs[static_cast<size_t>(lead - 0x81) * 256 + trail] =
                    decode_with(cd, pair, 2);
            }
        }
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const char single[1] = {static_cast<char>(byte)};
            table.high[byte - 0x80] = decode_with(cd, single, 1);
        }
        iconv_close(cd);
    });
    return table;
}

// The length of the UTF-8 sequence that starts with `lead`, or 1 for a byte
// that starts none (it is then refused on its own).
size_t utf8_length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

}  // namespace

void append_utf8(uint32_t cp, std::string* out) {
    if (cp < 0x80) {
        *out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out += static_cast<char>(0xC0 | (cp >> 6));
        *out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out += static_cast<char>(0xE0 | (cp >> 12));
        *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (cp >> 18));
        *out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

size_t gbk_char_length(std::string_view text, size_t at) {
    if (at >= text.size()) return 0;
    return gbk_lead_byte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

size_t gbk_char_before(std::string_view text, size_t at) {
    size_t last = 0;
    for (size_t i = 0; i < at && i < text.size(); i += gbk_char_length(text, i)) last = i;
    return last;
}

size_t gbk_fit(std::string_view text, size_t limit) {
    size_t i = 0;
    while (i < text.size()) {
        size_t next = i + gbk_char_length(text, i);
        if (next > limit) break;
        i = next;
    }
    return i;
}

size_t gbk_cut_last(std::string_view text, size_t count) {
    size_t end = text.size();
    for (size_t k = 0; k < count && end > 0; ++k) end = gbk_char_before(text, end);
    return end;
}

size_t gbk_copy_field(char* field, size_t width, std::string_view text) {
    std::memset(field, 0, width);
    if (width == 0) return 0;
    const size_t n = gbk_fit(text.substr(0, text.find('\0')), width - 1);
    std::memcpy(field, text.data(), n);
    return n;
}

std::string field_text(const char* field, size_t width) {
    return std::string(field, strnlen(field, width));
}

uint32_t gbk_decode(std::string_view text, size_t at, size_t* length) {
    *length = gbk_char_length(text, at);
    if (*length == 0) return 0;
    const unsigned char b0 = static_cast<unsigned char>(text[at]);
    if (b0 < 0x80) return b0;
    const DecodeTable& t = decode_table();
    uint32_t cp = 0;
    if (*length == 2) {
        const unsigned char b1 = static_cast<unsigned char>(text[at + 1]);
        if (gbk_trail_byte(b1)) cp = t.pairs[static_cast<size_t>(b0 - 0x81) * 256 + b1];
    } else if (!gbk_lead_byte(b0)) {
        cp = t.high[b0 - 0x80];
    }
    return cp != 0 ? cp : kReplacementCharacter;
}

std::string gbk_to_utf8(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    size_t length = 0;
    for (size_t i = 0; i < gbk.size(); i += length) append_utf8(gbk_decode(gbk, i, &length), &out);
    return out;
}

int utf8_to_gbk(std::string_view utf8, std::string* out) {
    int refused = 0;
    iconv_t cd = iconv_open("CP936", "UTF-8");
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            *out += static_cast<char>(lead);
            ++i;
            continue;
        }
        // A sequence cut short ends where its continuation bytes end, so the
        // byte that interrupted it is read as a character of its own.
        const size_t needed = utf8_length(lead);
        size_t len = 1;
        while (len < needed && i + len < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + len]) & 0xC0) == 0x80) {
            ++len;
        }
        char buffer[8];
        size_t out_len = sizeof buffer;
        if (len == needed && !iconv_failed(cd) &&
            convert_one(cd, utf8.data() + i, len, buffer, &out_len)) {
            out->append(buffer, out_len);
        } else {
            ++refused;
        }
        i += len;
    }
    if (!iconv_failed(cd)) iconv_close(cd);
    return refused;
}

std::string gbk_of(std::string_view utf8) {
    std::string out;
    static_cast<void>(utf8_to_gbk(utf8, &out));
    return out;
}

}  // namespace nd
