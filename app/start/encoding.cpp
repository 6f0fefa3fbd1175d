#include "app/start/encoding.h"

#include <iconv.h>

#include <cerrno>

namespace nd::start {

namespace {

int convert(const char* to, const char* from, const std::string& in, std::string* out) {
    out->clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return -1;
    // UTF-8 needs at most three bytes for each GBK byte pair or single byte,
    // and GBK never needs more bytes than UTF-8, so four times the input
    // always fits.
    std::string buffer(in.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char* dst = buffer.data();
    size_t dst_left = buffer.size();
    size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || src_left != 0) return -1;
    buffer.resize(buffer.size() - dst_left);
    *out = std::move(buffer);
    return 0;
}

}  // namespace

int gbk_to_utf8(const std::string& gbk, std::string* out) {
    return convert("UTF-8", "CP936", gbk, out);
}

int utf8_to_gbk(const std::string& utf8, std::string* out) {
    return convert("CP936", "UTF-8", utf8, out);
}

}  // namespace nd::start
