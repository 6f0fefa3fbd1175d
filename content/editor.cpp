// Opening and closing the editor, the caret's mapping onto display lines,
// and the end of every change.
#include <algorithm>
#include <cstdint>
#include <mutex>

#include "content/editor_internal.h"
#include "content/open.h"
#include "store/keys.h"
#include "store/locks.h"
#include "store/tables.h"

namespace nd::content {

namespace {

DiskPreviews g_disk_previews;

// Caret fields of recently closed Cases, so a Case reopens where it was
// left. The record has no field for them, so they live for the session
// only. Main thread only.
struct Remembered {
    RecordKey key{};
    CaretFields caret;
    uint64_t used = 0;  // 0: empty; else the close it was stored at
};
Remembered g_remembered[64];
uint64_t g_closes = 0;

Remembered* find_remembered(const RecordKey& key) {
    for (Remembered& r : g_remembered)
        if (r.used && same_item(r.key, key)) return &r;
    return nullptr;
}

void remember(const RecordKey& key, const CaretFields& caret) {
    Remembered* r = find_remembered(key);
    if (!r) {
        r = &g_remembered[0];
        for (Remembered& c : g_remembered)
            if (c.used < r->used) r = &c;
    }
    *r = Remembered{key, caret, ++g_closes};
}

void scroll_to_caret(EditorState& e) {
    if (e.caret.line < 0 || e.caret.line >= e.layout.line_count) return;
    const DisplayLine& line = e.layout.lines[e.caret.line];
    int vis = detail::visible_rows(e);
    int shown = std::min(line.rows, vis);
    if (line.first_row < e.caret.first_row)
        e.caret.first_row = line.first_row;
    else if (line.first_row + shown > e.caret.first_row + vis)
        e.caret.first_row = line.first_row + shown - vis;
    e.caret.first_row = std::max(0, e.caret.first_row);
}

}  // namespace

namespace detail {

void relayout_locked(EditorState& e, LayoutMode mode) {
    PreviewSource& source = e.env->previews ? *e.env->previews : g_disk_previews;
    lay_out(e.doc, e.env->root, e.metrics, e.previews, source, mode, e.layout);
}

int max_caret(const EditorState& e) {
    const Layout& l = e.layout;
    if (l.line_count == 0) return 0;
    int m = std::max(0, l.length - 3);
    if (l.end < l.length) {
        // Text past the 80th line is kept but not reachable.
        const DisplayLine& last = l.lines[l.line_count - 1];
        m = std::min(
            m, last.is_text() ? last.char_offset(std::max(0, last.char_count - 1)) : last.start);
    }
    return m;
}

int visible_rows(const EditorState& e) {
    return std::max(1, e.metrics.box_height / std::max(1, e.metrics.row_height));
}

void place_caret(EditorState& e, int offset, bool keep_preferred) {
    offset = std::clamp(offset, 0, max_caret(e));
    int index = line_of_offset(e.layout, offset);
    if (index < 0) {
        e.caret = CaretFields{0, 0, 0, -1, 0};
        return;
    }
    const DisplayLine& line = e.layout.lines[index];
    if (!line.is_text() || line.char_count == 0) {
        offset = line.start;
    } else {
        // The start of the character that holds the offset.
        int column = offset - line.start, k = 0;
        while (k + 1 < line.char_count && line.chars[k + 1] <= column) ++k;
        offset = line.start + line.chars[k];
    }
    e.caret.offset = offset;
    e.caret.line = index;
    e.caret.column = offset - line.start;
    if (!keep_preferred) e.caret.preferred = -1;
    scroll_to_caret(e);
}

void commit_locked(EditorState& e, int caret_offset) {
    relayout_locked(e, LayoutMode::kNormal);
    e.selection = Selection{};
    place_caret(e, caret_offset);
    mark_content_changed(e.ref);
}

void snapshot(EditorState& e) {
    e.undo.record(*e.doc.record, *e.doc.body, e.caret);
}

}  // namespace detail

Metrics editor_metrics(int width, int height, int cell_width, int row_height) {
    Metrics m;
    m.box_width = std::max(0, width - 2 * kTextInset - kScrollBarWidth);
    m.box_height = std::max(0, height - 2 * kTextInset);
    m.cell_width = std::max(1, cell_width);
    m.row_height = std::max(1, row_height);
    return m;
}

EditorState::~EditorState() {
    editor_close(*this);
}

int editor_open(EditorState& e, const EditorEnv& env, const CaseRef& ref, const Metrics& metrics) {
    CaseRecord* record = find_case(ref.group, ref.board, ref.slot);
    CaseBody* body = find_case_body(ref.group, ref.board, ref.slot);
    if (!record || !body) return -1;
    editor_close(e);
    e.env = &env;
    e.doc = Document{record, body};
    e.ref = ref;
    e.ref.key = record->key;
    e.metrics = metrics;
    CaretFields back;
    if (const Remembered* r = find_remembered(record->key)) back = r->caret;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        detail::relayout_locked(e, LayoutMode::kFull);
    }
    e.open = true;
    e.caret = back;
    detail::place_caret(e, back.offset, true);
    e.undo.clear();
    detail::snapshot(e);
    return 0;
}

void editor_close(EditorState& e) {
    if (!e.open) return;
    detail::drop_pending(e);
    remember(e.ref.key, e.caret);
    e.previews.release_all();
    e.undo.clear();
    e.selection = Selection{};
    e.pending_lead = -1;
    e.selecting = e.scrolling = false;
    e.open = false;
}

void editor_resize(EditorState& e, const Metrics& metrics) {
    e.metrics = metrics;
    if (!e.open) return;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        detail::relayout_locked(e, LayoutMode::kNormal);
    }
    e.selection = Selection{};
    detail::place_caret(e, e.caret.offset, true);
}

int editor_line_at(const EditorState& e, int x, int y) {
    if (!e.open || x < 0 || x >= e.metrics.box_width + 2 * kTextInset) return -1;
    int row = e.caret.first_row + std::max(0, y - kTextInset) / e.metrics.row_height;
    int index = line_of_row(e.layout, row);
    if (index < 0) return -1;
    const DisplayLine& line = e.layout.lines[index];
    return row < line.first_row + line.rows ? index : -1;
}

int editor_open_line(EditorState& e, int line) {
    if (!e.open || line < 0 || line >= e.layout.line_count || e.layout.lines[line].is_text())
        return kOpenNothing;
    std::string reason;
    int r = open_attachment(*e.doc.record, e.layout.lines[line].slot, e.env->root, &reason);
    if (r != kOpenStarted) e.message = reason;
    return r;
}

}  // namespace nd::content
