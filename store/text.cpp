#include "store/text.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace nd {

namespace {

// Runs iconv over `in`; on an undecodable sequence either substitutes
// `bad` and skips one byte, or fails when `bad` is null.
bool convert(const char* to, const char* from, const std::string& in, std::string& out,
             const char* bad) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out.clear();
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buf[1024];
    bool ok = true;
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            if (!bad) {
                ok = false;
                break;
            }
            out += bad;
            ++src;
            --left;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return ok;
}

}  // namespace

std::string gbk_to_utf8(const std::string& gbk) {
    std::string out;
    if (!convert("UTF-8", "CP936", gbk, out, "\xEF\xBF\xBD")) return std::string();
    return out;
}

bool utf8_to_gbk(const std::string& utf8, std::string& gbk) {
    return convert("CP936", "UTF-8", utf8, gbk, nullptr);
}

std::string field_text(const char* field, size_t width) {
    return std::string(field, strnlen(field, width));
}

}  // namespace nd
