#include "gfx/window/gbk_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace gfx {

namespace {

// Length of the UTF-8 sequence that starts with `lead`, or 1 for a stray byte
// (which then fails to convert and is dropped on its own).
size_t utf8_length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

// Converts one character; false when iconv cannot.
bool convert_one(iconv_t cd, const char* in, size_t in_len, std::string* out) {
    char buffer[16];
    char* in_ptr = const_cast<char*>(in);
    char* out_ptr = buffer;
    size_t in_left = in_len;
    size_t out_left = sizeof(buffer);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<size_t>(-1) ||
        in_left != 0) {
        return false;
    }
    out->append(buffer, out_ptr - buffer);
    return true;
}

}  // namespace

std::string gbk_of(const std::string& utf8) {
    std::string out;
    utf8_to_gbk(utf8, &out);
    return out;
}

int utf8_to_gbk(const std::string& utf8, std::string* out) {
    // Code page 936 is the programs' text encoding; iconv names it CP936.
    iconv_t cd = iconv_open("CP936", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
    int dropped = 0;
    size_t i = 0;
    while (i < utf8.size()) {
        size_t len = utf8_length(static_cast<unsigned char>(utf8[i]));
        if (i + len > utf8.size()) len = utf8.size() - i;
        if (!convert_one(cd, utf8.data() + i, len, out)) ++dropped;
        i += len;
    }
    iconv_close(cd);
    return dropped;
}

std::string gbk_to_utf8(const std::string& gbk) {
    std::string out;
    iconv_t cd = iconv_open("UTF-8", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1)) return gbk;
    size_t i = 0;
    while (i < gbk.size()) {
        unsigned char lead = static_cast<unsigned char>(gbk[i]);
        // A byte 0x81-0xFE starts a two-byte character.
        size_t len = (lead >= 0x81 && lead <= 0xFE && i + 1 < gbk.size()) ? 2 : 1;
        if (!convert_one(cd, gbk.data() + i, len, &out)) out.push_back('?');
        i += len;
    }
    iconv_close(cd);
    return out;
}

}  // namespace gfx
