#include "weblink/title.h"

#include <iconv.h>
#include <strings.h>

#include <cerrno>
#include <cstdint>

#include "base/gbk.h"

namespace nd::weblink {

namespace {

// A <meta> declaring the charset sits in the page's head; this much of the
// page is searched for one.
constexpr size_t kMetaScanBytes = 64 << 10;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

size_t find_no_case(std::string_view text, std::string_view what, size_t from = 0) {
    if (what.size() > text.size()) return std::string_view::npos;
    for (size_t i = from; i + what.size() <= text.size(); ++i) {
        if (strncasecmp(text.data() + i, what.data(), what.size()) == 0) return i;
    }
    return std::string_view::npos;
}

bool space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// The value after "charset=" in `text`, without quotes; empty when absent.
std::string charset_value(std::string_view text) {
    size_t at = find_no_case(text, "charset");
    if (at == std::string_view::npos) return {};
    size_t i = at + 7;
    while (i < text.size() && space(text[i])) ++i;
    if (i >= text.size() || text[i] != '=') return {};
    ++i;
    while (i < text.size() && (space(text[i]) || text[i] == '"' || text[i] == '\'')) ++i;
    std::string value;
    while (i < text.size() && !space(text[i]) && text[i] != '"' && text[i] != '\'' &&
           text[i] != ';' && text[i] != '>' && text[i] != '/') {
        value.push_back(lower(text[i++]));
    }
    return value;
}

// The charset of the first <meta> tag that declares one.
std::string meta_charset(std::string_view page) {
    page = page.substr(0, kMetaScanBytes);
    for (size_t at = find_no_case(page, "<meta"); at != std::string_view::npos;
         at = find_no_case(page, "<meta", at + 5)) {
        size_t end = page.find('>', at);
        if (end == std::string_view::npos) break;
        std::string value = charset_value(page.substr(at, end - at));
        if (!value.empty()) return value;
    }
    return {};
}

const char* iconv_name(const std::string& label) {
    struct Label {
        const char* label;
        const char* name;
    };
    static const Label kLabels[] = {
        {"utf-8", "UTF-8"},     {"utf8", "UTF-8"},          {"gbk", "CP936"},
        {"gb2312", "CP936"},    {"gb_2312-80", "CP936"},    {"x-gbk", "CP936"},
        {"csgb2312", "CP936"},  {"chinese", "CP936"},       {"cp936", "CP936"},
        {"gb18030", "GB18030"}, {"iso-8859-1", "CP1252"},   {"latin1", "CP1252"},
        {"us-ascii", "CP1252"}, {"ascii", "CP1252"},        {"windows-1252", "CP1252"},
        {"big5", "BIG5"},       {"shift_jis", "SHIFT_JIS"}, {"sjis", "SHIFT_JIS"},
        {"euc-jp", "EUC-JP"},   {"euc-kr", "EUC-KR"},
    };
    for (const Label& l : kLabels) {
        if (label == l.label) return l.name;
    }
    return nullptr;
}

// `bytes` in `charset` as UTF-8. Bytes that do not decode are skipped one by
// one, so a damaged page still gives what can be read.
std::string to_utf8(std::string_view bytes, const std::string& charset) {
    if (charset == "UTF-8") return std::string(bytes);
    iconv_t cd = iconv_open("UTF-8", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(bytes);
    std::string out;
    char* in = const_cast<char*>(bytes.data());
    size_t in_left = bytes.size();
    char buffer[1024];
    while (in_left > 0) {
        char* out_ptr = buffer;
        size_t out_left = sizeof(buffer);
        size_t result = iconv(cd, &in, &in_left, &out_ptr, &out_left);
        out.append(buffer, static_cast<size_t>(out_ptr - buffer));
        if (result != static_cast<size_t>(-1)) break;
        if (errno == EILSEQ) {
            ++in;
            --in_left;
        } else if (errno != E2BIG) {
            break;  // a sequence cut off at the end
        }
    }
    iconv_close(cd);
    return out;
}

// Decodes the character reference at text[i] ('&'); returns its length, or
// 0 when it is not one this reader knows (the '&' then stands as it is).
size_t decode_reference(std::string_view text, size_t i, std::string* out) {
    size_t end = text.find(';', i);
    if (end == std::string_view::npos || end - i > 10) return 0;
    std::string_view name = text.substr(i + 1, end - i - 1);
    struct Named {
        const char* name;
        uint32_t code;
    };
    static const Named kNamed[] = {{"amp", '&'},  {"lt", '<'},    {"gt", '>'},
                                   {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '}};
    for (const Named& n : kNamed) {
        if (name == n.name) {
            append_utf8(n.code, out);
            return end - i + 1;
        }
    }
    if (name.size() < 2 || name[0] != '#') return 0;
    bool hex = name[1] == 'x' || name[1] == 'X';
    std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty()) return 0;
    uint32_t code = 0;
    for (char c : digits) {
        int d = c >= '0' && c <= '9'                        ? c - '0'
                : hex && lower(c) >= 'a' && lower(c) <= 'f' ? lower(c) - 'a' + 10
                                                            : -1;
        if (d < 0) return 0;
        code = code * (hex ? 16 : 10) + static_cast<uint32_t>(d);
        if (code > 0x10FFFF) return end - i + 1;  // no such character: dropped
    }
    // NUL and the surrogate halves are not characters: dropped.
    if (code != 0 && (code < 0xD800 || code > 0xDFFF)) append_utf8(code, out);
    return end - i + 1;
}

// References decoded, control characters and runs of blanks made one space,
// blanks at the ends removed.
std::string clean_text(std::string_view utf8) {
    std::string out;
    bool pending_space = false;
    for (size_t i = 0; i < utf8.size();) {
        std::string piece;
        size_t used = utf8[i] == '&' ? decode_reference(utf8, i, &piece) : 0;
        if (used == 0) {
            piece.assign(1, utf8[i]);
            used = 1;
        }
        i += used;
        for (char c : piece) {
            if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) {
                pending_space = !out.empty();
                continue;
            }
            if (pending_space) out.push_back(' ');
            pending_space = false;
            out.push_back(c);
        }
    }
    return out;
}

// At most kMaxTitleBytes of GBK, never half a character. Bytes the layout
// cannot show (0x80, 0xFF, a lead byte without its trail) are left out.
std::string cut_gbk(const std::string& gbk) {
    std::string out;
    for (size_t i = 0; i < gbk.size();) {
        unsigned char lead = static_cast<unsigned char>(gbk[i]);
        size_t len = gbk_lead_byte(lead) ? 2 : 1;
        if (lead == 0x80 || lead == 0xFF || i + len > gbk.size()) {
            ++i;
            continue;
        }
        if (out.size() + len > kMaxTitleBytes) break;
        out.append(gbk, i, len);
        i += len;
    }
    return out;
}

}  // namespace

std::string page_charset(std::string_view page, std::string_view content_type) {
    if (page.substr(0, 3) == "\xEF\xBB\xBF") return "UTF-8";
    std::string label = charset_value(content_type);
    if (label.empty()) label = meta_charset(page);
    const char* name = iconv_name(label);
    return name ? name : "UTF-8";
}

std::string title_from_html(std::string_view page, std::string_view content_type) {
    // In every charset taken here a '<' byte is that character and never
    // part of a longer one, so the element can be found before decoding.
    size_t open = find_no_case(page, "<title");
    while (open != std::string_view::npos && open + 6 < page.size() && !space(page[open + 6]) &&
           page[open + 6] != '>') {
        open = find_no_case(page, "<title", open + 6);
    }
    if (open == std::string_view::npos) return {};
    size_t start = page.find('>', open);
    if (start == std::string_view::npos) return {};
    ++start;
    size_t end = find_no_case(page, "</title", start);
    if (end == std::string_view::npos) return {};
    std::string utf8 = to_utf8(page.substr(start, end - start), page_charset(page, content_type));
    return cut_gbk(nd::gbk_of(clean_text(utf8)));
}

}  // namespace nd::weblink
