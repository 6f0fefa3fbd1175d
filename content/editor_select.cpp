// Removing attachment lines, deleting a selection by rebuilding the text
// from the display lines, and copying a selection as plain text.
#include <algorithm>
#include <cstring>
#include <utility>

#include "base/gbk.h"
#include "content/editor_internal.h"

namespace nd::content::detail {

namespace {

// Copies are cut at this many bytes, never inside a character.
constexpr size_t kCopyLimit = 12287;

// True when the slot a marker names holds an attachment of the marker's
// kind; a damaged marker naming another kind's slot never frees it.
bool line_owns_slot(const DisplayLine& line, const CaseRecord& record) {
    int kind = record.attachments[line.slot].kind;
    if (line.kind == kAttachLink || line.kind == kAttachLinkPending)
        return kind == kAttachLink || kind == kAttachLinkPending;
    return kind == line.kind;
}

// Appends to a copy while it stays within the limit; false once full.
bool put(std::string& out, const char* bytes, size_t n) {
    if (out.size() + n > kCopyLimit) return false;
    out.append(bytes, n);
    return true;
}

// Appends GBK text character by character, a line feed as CR LF.
bool put_text(std::string& out, const char* text, size_t n) {
    for (size_t i = 0; i < n;) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t size = gbk_lead_byte(c) && i + 1 < n ? 2 : 1;
        bool ok = c == '\n' ? put(out, "\r\n", 2) : put(out, text + i, size);
        if (!ok) return false;
        i += size;
    }
    return true;
}

// The selection within the laid-out lines, as [begin, end).
std::pair<int, int> selected_bytes(const EditorState& e) {
    int begin = std::clamp(e.selection.begin, 0, e.layout.end);
    return {begin, std::clamp(e.selection.end, begin, e.layout.end)};
}

bool ends_with_crlf(const std::string& s) {
    return s.size() >= 2 && s[s.size() - 2] == '\r' && s.back() == '\n';
}

}  // namespace

void remove_attachment_line(EditorState& e, int index) {
    const DisplayLine& line = e.layout.lines[index];
    if (line_owns_slot(line, *e.doc.record)) {
        e.previews.release(line.slot);
        free_slot(*e.doc.record, line.slot);
    }
    remove_bytes(*e.doc.body, e.layout.length, line.start, line.length);
}

int delete_selection_locked(EditorState& e) {
    const Layout& l = e.layout;
    const char* text = e.doc.body->text;
    const auto [begin, end] = selected_bytes(e);
    std::string& out = e.scratch;
    out.clear();
    out.reserve(sizeof(CaseBody));
    int caret = -1;
    for (int i = 0; i < l.line_count; ++i) {
        const DisplayLine& line = l.lines[i];
        if (caret < 0 && line.start >= begin) caret = static_cast<int>(out.size());
        if (line.is_text()) {
            // Unselected lines stay whole; the first and last selected keep
            // what lies outside the selection.
            int s = line.start, t = line.end();
            if (t <= begin || s >= end) {
                out.append(text + s, static_cast<size_t>(t - s));
                continue;
            }
            if (s < begin) out.append(text + s, static_cast<size_t>(begin - s));
            if (caret < 0) caret = static_cast<int>(out.size());
            if (t > end) out.append(text + end, static_cast<size_t>(t - end));
            continue;
        }
        if (line.start >= begin && line.start < end) {
            if (line_owns_slot(line, *e.doc.record)) {
                e.previews.release(line.slot);
                free_slot(*e.doc.record, line.slot);
            }
            continue;
        }
        // A kept marker always starts a line of its own.
        if (!out.empty() && out.back() != '\n') out += '\n';
        char marker[12];
        out.append(marker, static_cast<size_t>(format_marker(marker, line.kind, line.slot, false)));
    }
    // Text past the laid-out lines is kept as it is.
    out.append(text + l.end, static_cast<size_t>(l.length - l.end));
    if (caret < 0) caret = static_cast<int>(out.size());
    // Every line feed the rebuild adds stands for one the selection took,
    // so the text never grows; the cut only guards the body's size.
    size_t n = std::min(out.size(), static_cast<size_t>(kMaxTextBytes));
    std::memcpy(e.doc.body->text, out.data(), n);
    e.doc.body->text[n] = '\0';
    e.selection = Selection{};
    return std::min(caret, static_cast<int>(n));
}

void copy_selection(EditorState& e) {
    if (!e.env->clipboard || !e.selection.active()) return;
    const Layout& l = e.layout;
    const char* text = e.doc.body->text;
    const auto [begin, end] = selected_bytes(e);
    std::string& out = e.scratch;
    out.clear();
    bool after_attachment = false, room = true;
    for (int i = 0; i < l.line_count && room; ++i) {
        const DisplayLine& line = l.lines[i];
        if (line.is_text()) {
            int s = std::max(line.start, begin), t = std::min(line.end(), end);
            if (s >= t) continue;
            if (after_attachment) room = put(out, "\r\n", 2);
            room = room && put_text(out, text + s, static_cast<size_t>(t - s));
            after_attachment = false;
        } else if (line.start >= begin && line.start < end) {
            // An attachment line gives its slot's path (an image's path is
            // relative to the workspace), on a line of its own.
            const Attachment& a = e.doc.record->attachments[line.slot];
            if (!out.empty() && !ends_with_crlf(out)) room = put(out, "\r\n", 2);
            room = room && put_text(out, a.path, strnlen(a.path, sizeof a.path));
            after_attachment = true;
        }
    }
    if (!out.empty()) e.env->clipboard->write_text(out);
}

}  // namespace nd::content::detail
