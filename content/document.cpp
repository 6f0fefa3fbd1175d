#include "content/document.h"

#include <cassert>
#include <cstdio>
#include <cstring>

#include "base/gbk.h"
#include "store/paths.h"
#include "store/tables.h"

namespace nd::content {

namespace {

struct Prefix {
    const char* text;
    int kind;
};
constexpr Prefix kPrefixes[] = {
    {"**img:", kAttachImage},
    {"**fle:", kAttachFile},
    {"**htp:", kAttachLink},
};

// Copies GBK text into a fixed field, cut before a character that would not
// fit whole, zero-filled.
void copy_field(char* field, size_t width, const std::string& text) {
    std::memset(field, 0, width);
    size_t n = 0;
    while (n < text.size() && text[n] != '\0') {
        size_t step = gbk_lead_byte(static_cast<unsigned char>(text[n])) ? 2 : 1;
        if (n + step > width - 1 || n + step > text.size()) break;
        n += step;
    }
    std::memcpy(field, text.data(), n);
}

}  // namespace

int text_length(CaseBody& body) {
    size_t n = strnlen(body.text, sizeof body.text);
    if (n <= static_cast<size_t>(kMaxTextBytes)) return static_cast<int>(n);
    // Walk characters so the cut never leaves half a pair behind.
    int cut = 0;
    while (cut < kMaxTextBytes) {
        int step = gbk_lead_byte(static_cast<unsigned char>(body.text[cut])) ? 2 : 1;
        if (cut + step > kMaxTextBytes) break;
        cut += step;
    }
    body.text[cut] = '\0';
    return cut;
}

int normalise_end(CaseBody& body) {
    int length = text_length(body);
    char* text = body.text;
    // Line feeds are added until the text ends in three. (Testing only the
    // bytes three, two and one from the end, each test depending on the one
    // before, leaves "a\nb" with one line feed at its end, and its last line
    // out of the caret's reach.)
    int run = 0;
    while (run < length && text[length - 1 - run] == '\n') ++run;
    int trailing = run;
    // The line feed that ends a marker line is the marker's own: after a
    // final attachment the caret still needs an empty line to go to.
    if (run > 0 && run < 4 && run < length) {
        int end = length - run, start = end;
        while (start > 0 && text[start - 1] != '\n') --start;
        int marker_length = 0;
        if (parse_marker(text + start, end + 1 - start, nullptr, &marker_length) >= 0 &&
            marker_length == end + 1 - start)
            --trailing;
    }
    for (; trailing < 3; ++trailing) text[length++] = '\n';
    text[length] = '\0';
    return length;
}

int parse_marker(const char* p, int avail, int* prefix_kind, int* length) {
    if (avail < 7 || p[0] != '*' || p[1] != '*') return -1;
    const Prefix* found = nullptr;
    for (const Prefix& pre : kPrefixes)
        if (std::memcmp(p, pre.text, 6) == 0) found = &pre;
    if (!found) return -1;
    // One to three digits naming a slot that exists, then a line feed or the
    // end of the text; anything else is ordinary text, so a damaged number
    // can never reach past the table.
    int i = 6, slot = 0;
    while (i < avail && i < 9 && p[i] >= '0' && p[i] <= '9') slot = slot * 10 + (p[i++] - '0');
    if (i == 6 || slot >= kAttachmentSlots) return -1;
    if (i < avail && p[i] != '\n' && p[i] != '\0') return -1;
    if (prefix_kind) *prefix_kind = found->kind;
    if (length) *length = i < avail && p[i] == '\n' ? i + 1 : i;
    return slot;
}

int format_marker(char* out, int kind, int slot, bool leading_lf) {
    assert(slot >= 0 && slot < kAttachmentSlots);
    const char* prefix = kind == kAttachImage  ? "**img:"
                         : kind == kAttachFile ? "**fle:"
                                               : "**htp:";
    return std::snprintf(out, 12, "%s%s%02d\n", leading_lf ? "\n" : "", prefix, slot);
}

void insert_bytes(CaseBody& body, int length, int at, const char* bytes, int n) {
    assert(at >= 0 && at <= length && length + n < static_cast<int>(sizeof body.text));
    std::memmove(body.text + at + n, body.text + at, static_cast<size_t>(length - at) + 1);
    std::memcpy(body.text + at, bytes, static_cast<size_t>(n));
}

void remove_bytes(CaseBody& body, int length, int at, int n) {
    assert(at >= 0 && n >= 0 && at + n <= length);
    std::memmove(body.text + at, body.text + at + n, static_cast<size_t>(length - at - n) + 1);
}

void free_slot(CaseRecord& record, int slot) {
    if (slot < 0 || slot >= kAttachmentSlots) return;
    std::memset(&record.attachments[slot], 0, sizeof(Attachment));
}

int allocate_slot(CaseRecord& record, int kind, const std::string& name, const std::string& path) {
    int slot = first_free_attachment(record);
    if (slot < 0) return -1;
    Attachment& a = record.attachments[slot];
    a.kind = kind;
    copy_field(a.name, sizeof a.name, name);
    copy_field(a.path, sizeof a.path, path);
    return slot;
}

std::string resolve_attachment(const CaseRecord& record, int slot, const std::string& root) {
    if (slot < 0 || slot >= kAttachmentSlots) return std::string();
    const Attachment& a = record.attachments[slot];
    std::string path = field_text(a.path, sizeof a.path);
    if (a.kind == kAttachFree || path.empty()) return std::string();
    if (a.kind == kAttachImage) return stored_to_disk(root, path);
    if (a.kind == kAttachFile) return gbk_to_utf8(path);
    return path;
}

}  // namespace nd::content
