// Editing keys: typing, deleting, caret moves, undo and redo.
#include <algorithm>
#include <mutex>

#include "base/gbk.h"
#include "content/editor_internal.h"
#include "store/locks.h"

namespace nd::content {

using namespace detail;

namespace {

// "·" (the middle dot) in GBK.
constexpr char kMiddleDot[] = "\xA1\xA4";

const DisplayLine& caret_line(const EditorState& e) {
    return e.layout.lines[e.caret.line];
}

// Index of the character the caret stands before.
int caret_char(const EditorState& e) {
    const DisplayLine& line = caret_line(e);
    int k = 0;
    while (k < line.char_count && line.chars[k] < e.caret.column) ++k;
    return k;
}

// Offset of the last character of a line (its line feed when it has one).
int last_char(const DisplayLine& line) {
    return line.is_text() ? line.char_offset(std::max(0, line.char_count - 1)) : line.start;
}

// The display line the caret may go down to: the one that holds the last
// caret offset.
int last_caret_line(const EditorState& e) {
    return std::max(0, line_of_offset(e.layout, max_caret(e)));
}

// Deletes the selection as its own step of a larger change. The caller
// holds StorageLock.
bool clear_selection_locked(EditorState& e) {
    if (!e.selection.active()) return false;
    commit_locked(e, delete_selection_locked(e));
    return true;
}

// Inserts typed bytes at the caret: only on a text line, and never while
// the text is longer than the typing limit. A selection is replaced.
void type_bytes(EditorState& e, const char* bytes, int n, bool line_feed) {
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        bool changed = clear_selection_locked(e);
        if ((line_feed || caret_line(e).is_text()) && e.layout.length <= kTypingLimit) {
            insert_bytes(*e.doc.body, e.layout.length, e.caret.offset, bytes, n);
            commit_locked(e, e.caret.offset + n);
            changed = true;
        }
        if (!changed) return;
    }
    snapshot(e);
}

void backspace(EditorState& e) {
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        if (!clear_selection_locked(e)) {
            const Layout& l = e.layout;
            const int index = e.caret.line, offset = e.caret.offset;
            if (offset == 0) return;
            const DisplayLine& line = l.lines[index];
            const DisplayLine* prev = index > 0 ? &l.lines[index - 1] : nullptr;
            if (!line.is_text() || (e.caret.column == 0 && prev && !prev->is_text())) {
                if (!prev->is_text()) {
                    // Just after a marker: the whole marker goes, with its slot.
                    int at = prev->start;
                    remove_attachment_line(e, index - 1);
                    commit_locked(e, at);
                } else if (prev->length == 1 && e.doc.body->text[prev->start] == '\n') {
                    int at = prev->start;
                    remove_bytes(*e.doc.body, l.length, at, 1);
                    commit_locked(e, at);
                } else {
                    // Deleting the line feed before a marker would pull the
                    // marker into the text line: the caret steps back instead.
                    place_caret(e, last_char(*prev));
                    return;
                }
            } else {
                int from = e.caret.column > 0 ? line.start + line.chars[caret_char(e) - 1]
                                              : last_char(*prev);
                remove_bytes(*e.doc.body, l.length, from, offset - from);
                commit_locked(e, from);
            }
        }
    }
    snapshot(e);
}

void delete_forward(EditorState& e) {
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        if (!clear_selection_locked(e)) {
            const Layout& l = e.layout;
            const int index = e.caret.line, offset = e.caret.offset;
            const DisplayLine& line = l.lines[index];
            if (!line.is_text()) {
                // On an attachment line the caret steps back onto the line
                // feed before it, and the marker that follows goes.
                int at = std::max(0, line.start - 1);
                remove_attachment_line(e, index);
                commit_locked(e, at);
            } else {
                if (offset >= l.length - 3) return;  // only the trailing line feeds follow
                int k = caret_char(e);
                bool marker_follows = k == line.char_count - 1 && index + 1 < l.line_count &&
                                      !l.lines[index + 1].is_text();
                if (marker_follows) {
                    remove_attachment_line(e, index + 1);
                } else {
                    remove_bytes(*e.doc.body, l.length, offset, line.char_offset(k + 1) - offset);
                }
                commit_locked(e, offset);
            }
        }
    }
    snapshot(e);
}

int left_of(const EditorState& e) {
    const DisplayLine& line = caret_line(e);
    if (!line.is_text()) return e.caret.offset - 1;  // onto the line before
    if (e.caret.column > 0) return line.start + line.chars[caret_char(e) - 1];
    if (e.caret.line == 0) return e.caret.offset;
    return last_char(e.layout.lines[e.caret.line - 1]);
}

int right_of(const EditorState& e) {
    const DisplayLine& line = caret_line(e);
    if (!line.is_text()) return line.end();  // over the marker
    return line.char_offset(caret_char(e) + 1);
}

// The offset on display line `index` nearest the preferred column.
int offset_on_line(const EditorState& e, int index, int column) {
    const DisplayLine& line = e.layout.lines[index];
    if (!line.is_text()) return line.start;
    return line.start + std::min(column, last_char(line) - line.start);
}

void move_to(EditorState& e, int offset, unsigned mods, bool vertical) {
    int from = e.caret.offset;
    bool extend = (mods & kModShift) != 0;
    if (extend && !e.selection.active()) e.selection.anchor = from;
    if (!extend) e.selection = Selection{};
    int preferred = e.caret.preferred >= 0 ? e.caret.preferred : e.caret.column;
    place_caret(e, offset, vertical);
    if (vertical) e.caret.preferred = preferred;
    if (extend) {
        e.selection.begin = std::min(e.selection.anchor, e.caret.offset);
        e.selection.end = std::max(e.selection.anchor, e.caret.offset);
    }
}

void move_lines(EditorState& e, int delta, unsigned mods) {
    int column = e.caret.preferred >= 0 ? e.caret.preferred : e.caret.column;
    int target = std::clamp(e.caret.line + delta, 0, last_caret_line(e));
    move_to(e, offset_on_line(e, target, column), mods, true);
}

void move_page(EditorState& e, int direction, unsigned mods) {
    int vis = visible_rows(e);
    int row = caret_line(e).first_row + direction * vis;
    int column = e.caret.preferred >= 0 ? e.caret.preferred : e.caret.column;
    int target = std::clamp(line_of_row(e.layout, std::max(0, row)), 0, last_caret_line(e));
    e.caret.first_row =
        std::clamp(e.caret.first_row + direction * vis, 0, std::max(0, e.layout.rows - vis));
    move_to(e, offset_on_line(e, target, column), mods, true);
}

void restore(EditorState& e, bool forward) {
    CaretFields caret;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        bool stepped = forward ? e.undo.redo(*e.doc.record, *e.doc.body, caret)
                               : e.undo.undo(*e.doc.record, *e.doc.body, caret);
        if (!stepped) return;
        // Previews are held per slot and image path, so a slot that names
        // another picture after the restore is loaded again.
        relayout_locked(e, LayoutMode::kNormal);
        mark_content_changed(e.ref);
    }
    e.selection = Selection{};
    e.caret = caret;
    place_caret(e, caret.offset, true);
}

}  // namespace

KeyResult editor_key(EditorState& e, int code, unsigned mods) {
    if (!e.open) return KeyResult::kIgnored;
    if (e.pending_lead >= 0) {
        char pair[2] = {static_cast<char>(e.pending_lead), static_cast<char>(code)};
        e.pending_lead = -1;
        if (code >= 0 && code <= 0xFF && gbk_trail_byte(static_cast<unsigned char>(code))) {
            type_bytes(e, pair, 2, false);
            return KeyResult::kHandled;
        }
        // Anything else drops the lone first byte and is handled as itself.
    }
    const bool ctrl = (mods & kModCtrl) != 0;
    switch (code) {
        case kKeySelectAll:
            e.selection = Selection{0, 0, e.layout.end};
            place_caret(e, max_caret(e));
            return KeyResult::kHandled;
        case kKeyCopy:
            copy_selection(e);
            return KeyResult::kHandled;
        case kKeyBackspace:
            backspace(e);
            return KeyResult::kHandled;
        case kKeyEnter:
            type_bytes(e, "\n", 1, true);
            return KeyResult::kHandled;
        case kKeyPaste:
            paste(e);
            return KeyResult::kHandled;
        case kKeyRedo:
        case kKeyUndo:
            restore(e, code == kKeyRedo);
            return KeyResult::kHandled;
        case kKeyEscape:
            return KeyResult::kEscape;
        case kKeyMiddleDot:
            type_bytes(e, kMiddleDot, 2, false);
            return KeyResult::kHandled;
        case kKeyDelete:
            delete_forward(e);
            return KeyResult::kHandled;
        case kKeyHome:
            move_to(e, ctrl ? 0 : caret_line(e).start, mods, false);
            return KeyResult::kHandled;
        case kKeyEnd:
            move_to(e, ctrl ? max_caret(e) : last_char(caret_line(e)), mods, false);
            return KeyResult::kHandled;
        case kKeyPageUp:
        case kKeyPageDown:
            move_page(e, code == kKeyPageUp ? -1 : 1, mods);
            return KeyResult::kHandled;
        case kKeyLeft:
        case kKeyRight:
            if (e.selection.active() && !(mods & kModShift)) {
                // An arrow collapses a selection to the side it points at.
                move_to(e, code == kKeyLeft ? e.selection.begin : e.selection.end, mods, false);
            } else {
                move_to(e, code == kKeyLeft ? left_of(e) : right_of(e), mods, false);
            }
            return KeyResult::kHandled;
        case kKeyUp:
        case kKeyDown:
            move_lines(e, code == kKeyUp ? -1 : 1, mods);
            return KeyResult::kHandled;
        default:
            break;
    }
    if (code >= 32 && code <= 127) {
        char c = static_cast<char>(code);
        type_bytes(e, &c, 1, false);
        return KeyResult::kHandled;
    }
    if (code >= 129 && code <= 254) {
        e.pending_lead = code;
        return KeyResult::kHandled;
    }
    return KeyResult::kIgnored;
}

void editor_type_text(EditorState& e, const std::string& gbk) {
    if (!e.open || gbk.empty()) return;
    e.pending_lead = -1;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        bool changed = clear_selection_locked(e);
        if (caret_line(e).is_text()) {
            // Whole characters, each refused once the text is past the
            // typing limit, as if they had been typed one by one.
            int length = e.layout.length, take = 0;
            while (take < static_cast<int>(gbk.size()) && length + take <= kTypingLimit) {
                unsigned char c = static_cast<unsigned char>(gbk[take]);
                if (c < 0x20) break;
                int size = gbk_lead_byte(c) && take + 1 < static_cast<int>(gbk.size()) ? 2 : 1;
                take += size;
            }
            if (take > 0) {
                insert_bytes(*e.doc.body, length, e.caret.offset, gbk.data(), take);
                commit_locked(e, e.caret.offset + take);
                changed = true;
            }
        }
        if (!changed) return;
    }
    snapshot(e);
}

}  // namespace nd::content
