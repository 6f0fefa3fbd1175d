// The mouse: placing the caret, selecting by drag (whole characters),
// word selection by double click, scrolling by Ctrl+drag, by the scroll bar
// and by the wheel, and Ctrl+click on an attachment line.
#include <algorithm>
#include <cstdlib>

#include "base/gbk.h"
#include "content/editor_internal.h"

namespace nd::content {

using namespace detail;

namespace {

int last_row(const EditorState& e) {
    return std::max(0, e.layout.rows - visible_rows(e));
}

void scroll_to(EditorState& e, int row) {
    e.caret.first_row = std::clamp(row, 0, last_row(e));
}

bool on_scroll_bar(const EditorState& e, int x) {
    return x >= e.metrics.box_width + 2 * kTextInset;
}

// The first row the thumb stands for when it is grabbed at `y`.
int row_at_bar(const EditorState& e, int y) {
    int height = e.metrics.box_height + 2 * kTextInset;
    return height > 0 ? static_cast<int>(int64_t{std::max(0, y)} * e.layout.rows / height) : 0;
}

// The caret offset for a point: the character boundary nearest the
// pointer on the line under it, limited to the line's last character.
// Above the box the rows before the first visible one are reached; below
// the last line, the end of the text.
int offset_at(const EditorState& e, int x, int y) {
    const Layout& l = e.layout;
    int dy = y - kTextInset;
    int row =
        e.caret.first_row + (dy >= 0 ? dy / e.metrics.row_height
                                     : -((-dy + e.metrics.row_height - 1) / e.metrics.row_height));
    if (row < 0) return 0;
    if (row >= l.rows) return max_caret(e);
    const DisplayLine& line = l.lines[line_of_row(l, row)];
    if (!line.is_text() || line.char_count == 0) return line.start;
    int px = x - kTextInset, best = 0;
    for (int k = 1; k < line.char_count; ++k) {
        int bx = line.chars[k] * e.metrics.cell_width;
        if (std::abs(bx - px) < std::abs(line.chars[best] * e.metrics.cell_width - px)) best = k;
    }
    return line.start + line.chars[best];
}

// Character classes for word selection: letters and digits, two-byte
// characters, and everything else.
int char_class(const char* p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (gbk_lead_byte(c)) return 1;
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_')
        return 2;
    return c == '\n' ? 3 : 0;
}

void select_word(EditorState& e) {
    const DisplayLine& line = e.layout.lines[e.caret.line];
    if (!line.is_text() || line.char_count == 0) {
        e.selection = Selection{line.start, line.start, line.end()};
        return;
    }
    const char* text = e.doc.body->text + line.start;
    int k = 0;
    while (k + 1 < line.char_count && line.chars[k + 1] <= e.caret.column) ++k;
    int cls = char_class(text + line.chars[k]);
    int first = k, last = k;
    while (first > 0 && char_class(text + line.chars[first - 1]) == cls) --first;
    while (last + 1 < line.char_count && char_class(text + line.chars[last + 1]) == cls) ++last;
    int begin = line.char_offset(first);
    // A line's line feed is never part of a word.
    int end = cls == 3 ? begin : line.char_offset(last + 1);
    e.selection = Selection{begin, begin, end};
    place_caret(e, end);
}

}  // namespace

void editor_mouse_down(EditorState& e, int x, int y, unsigned mods, int clicks) {
    if (!e.open) return;
    e.pending_lead = -1;
    if (mods & kModCtrl) {
        int line = editor_line_at(e, x, y);
        if (line >= 0 && !e.layout.lines[line].is_text()) {
            (void)editor_open_line(e, line);
            return;
        }
        e.scrolling = true;
        e.scroll_from_y = y;
        e.scroll_from_row = e.caret.first_row;
        return;
    }
    if (on_scroll_bar(e, x)) {
        e.scrolling = true;
        e.scroll_from_y = -1;  // the thumb follows the pointer
        scroll_to(e, row_at_bar(e, y));
        return;
    }
    int hit = offset_at(e, x, y);
    if ((mods & kModShift) && !e.selection.active()) e.selection.anchor = e.caret.offset;
    if (!(mods & kModShift)) e.selection = Selection{hit, hit, hit};
    place_caret(e, hit);
    if (clicks == 2 && !(mods & kModShift)) {
        select_word(e);
        return;
    }
    e.selection.begin = std::min(e.selection.anchor, e.caret.offset);
    e.selection.end = std::max(e.selection.anchor, e.caret.offset);
    e.selecting = true;
}

void editor_mouse_move(EditorState& e, int x, int y) {
    if (!e.open) return;
    if (e.scrolling) {
        if (e.scroll_from_y < 0)
            scroll_to(e, row_at_bar(e, y));
        else
            scroll_to(e, e.scroll_from_row - (y - e.scroll_from_y) / e.metrics.row_height);
        return;
    }
    if (!e.selecting) return;
    place_caret(e, offset_at(e, x, y));
    e.selection.begin = std::min(e.selection.anchor, e.caret.offset);
    e.selection.end = std::max(e.selection.anchor, e.caret.offset);
}

void editor_mouse_up(EditorState& e) {
    e.selecting = false;
    e.scrolling = false;
}

void editor_wheel(EditorState& e, int rows) {
    if (e.open) scroll_to(e, e.caret.first_row + rows);
}

}  // namespace nd::content
