#include "content/draw.h"

#include <algorithm>
#include <cstring>

#include "skins/palette.h"

namespace nd::content {

namespace {

constexpr uint32_t kNotSrcCopy = 0x330008;  // the colour-inverting copy
constexpr int kFontHeight = 16;
constexpr int kBold = 700;
// 宋体
constexpr char kEditorFace[] = "\xCB\xCE\xCC\xE5";
// 等待标题...
constexpr char kAwaitingTitle[] = "\xB5\xC8\xB4\xFD\xB1\xEA\xCC\xE2...";

// The content's own colours where the shared palette has no group: the
// selection, the attachment names and the scroll bar, per skin.
constexpr gfx::Color kSelection[4] = {0xFF3D4F66, 0xFFE3BFB0, 0xFF28506A, 0xFFCCE4F7};
constexpr gfx::Color kAttachment[4] = {0xFF7CBCEA, 0xFF1F6FB2, 0xFF7CBCEA, 0xFF0066B4};
constexpr gfx::Color kBarTrack[4] = {0xFF2A2A2A, 0xFFE8D6CE, 0xFF16293A, 0xFFEEEEEE};
constexpr gfx::Color kBarThumb[4] = {0xFF5A5A5A, 0xFFC9A99B, 0xFF3C6480, 0xFFBDBDBD};

void set_editor_font(int cell_width, int weight, gfx::IMAGE* target) {
    gfx::FontRecord r{};
    r.height = kFontHeight;
    // Every byte advances one cell, so a caret placed by byte columns meets
    // the glyphs whatever the face's own widths.
    r.width = cell_width;
    r.weight = weight;
    r.char_set = 1;
    std::memcpy(r.face, kEditorFace, sizeof kEditorFace);
    gfx::set_font_record(&r, target);
}

void fill(gfx::IMAGE* target, gfx::Color c, int left, int top, int right, int bottom) {
    gfx::set_fill_color(c, target);
    gfx::fill_bar(left, top, right, bottom, target);
}

bool selected(const DrawMarks& marks, const DisplayLine& line) {
    return marks.selection.active() && line.start >= marks.selection.begin &&
           line.start < marks.selection.end;
}

void draw_text_line(const char* text, const DisplayLine& line, const Metrics& m,
                    const DrawMarks& marks, const EditorColors& colors, int y, gfx::IMAGE* target) {
    const Selection& s = marks.selection;
    if (s.active()) {
        int from = std::max(s.begin, line.start), to = std::min(s.end, line.end());
        if (from < to)
            fill(target, colors.selection, kTextInset + (from - line.start) * m.cell_width, y,
                 kTextInset + (to - line.start) * m.cell_width, y + m.row_height);
    }
    char buf[kMaxLineBytes + 1];
    int n = line.length;
    if (n > 0 && text[line.start + n - 1] == '\n') --n;
    std::memcpy(buf, text + line.start, static_cast<size_t>(n));
    buf[n] = '\0';
    gfx::set_color(colors.text, target);
    gfx::text_out(kTextInset, y, buf, target);
}

void draw_attachment_line(const Document& doc, const DisplayLine& line,
                          const HeldPreviews& previews, const Metrics& m, const DrawMarks& marks,
                          const EditorColors& colors, int y, int line_index, gfx::IMAGE* target) {
    bool marked = selected(marks, line) || line_index == marks.caret_line;
    const gfx::IMAGE* preview = line.kind == kAttachImage ? previews.image(line.slot) : nullptr;
    if (preview) {
        gfx::putimage(kTextInset, y, line.shown_width, line.shown_height, preview, 0, 0,
                      preview->width, preview->height, marked ? kNotSrcCopy : gfx::kSrcCopy,
                      target);
        return;
    }
    const Attachment& a = doc.record->attachments[line.slot];
    char name[sizeof a.name];
    std::memcpy(name, a.name, sizeof name);
    name[sizeof name - 1] = '\0';
    const char* shown = line.kind == kAttachLinkPending ? kAwaitingTitle : name;
    int width = static_cast<int>(std::strlen(shown)) * m.cell_width;
    if (marked) fill(target, colors.selection, kTextInset, y, kTextInset + width, y + m.row_height);
    set_editor_font(m.cell_width, kBold, target);
    gfx::set_color(line.kind == kAttachLinkPending ? colors.pending : colors.attachment, target);
    gfx::text_out(kTextInset, y, shown, target);
    set_editor_font(m.cell_width, 0, target);
}

}  // namespace

void editor_font_size(int* cell_width, int* font_height) {
    gfx::IMAGE* scratch = gfx::new_image(1, 1);
    set_editor_font(0, 0, scratch);  // width 0: the face's own width of "a"
    *cell_width = std::max(1, gfx::text_width("a", scratch));
    *font_height = std::max(1, gfx::text_height("a", scratch));
    gfx::delete_image(scratch);
}

EditorColors editor_colors(int skin) {
    int s = std::clamp(skin, 0, 3);
    return EditorColors{palette_color(kPalPanelBackground, s),
                        palette_color(kPalPanelText, s),
                        kSelection[s],
                        kAttachment[s],
                        0xFFA80000,
                        kBarTrack[s],
                        kBarThumb[s]};
}

void draw_document(const Document& doc, const Layout& layout, const HeldPreviews& previews,
                   const Metrics& m, const DrawMarks& marks, const EditorColors& colors,
                   gfx::IMAGE* target, const Rect& rect) {
    if (!target) target = gfx::current_target();
    if (!target || rect.width <= 0 || rect.height <= 0) return;
    const gfx::DrawState saved = target->state;
    gfx::set_viewport(rect.x, rect.y, rect.x + rect.width, rect.y + rect.height, 1, target);
    fill(target, colors.background, 0, 0, rect.width, rect.height);
    // Lines are clipped to the text area: below the top margin, left of the
    // scroll bar, so a picture partly above the first row shows its rest.
    const int text_right = std::min(rect.width, m.box_width + 2 * kTextInset);
    gfx::set_viewport(rect.x, rect.y + kTextInset, rect.x + text_right, rect.y + rect.height, 1,
                      target);
    gfx::set_bk_mode(gfx::kTransparent, target);
    set_editor_font(m.cell_width, 0, target);
    const int rows = rect.height / std::max(1, m.row_height) + 1;
    for (int i = std::max(0, line_of_row(layout, marks.first_row)); i < layout.line_count; ++i) {
        const DisplayLine& line = layout.lines[i];
        if (line.first_row >= marks.first_row + rows) break;
        int y = (line.first_row - marks.first_row) * m.row_height;
        if (line.is_text()) {
            if (line.first_row < marks.first_row) continue;
            draw_text_line(doc.body->text, line, m, marks, colors, y, target);
            if (marks.caret_on && i == marks.caret_line)
                fill(target, colors.text, kTextInset + marks.caret_column * m.cell_width, y,
                     kTextInset + marks.caret_column * m.cell_width + 2, y + kFontHeight);
        } else {
            draw_attachment_line(doc, line, previews, m, marks, colors, y, i, target);
        }
    }
    target->state = saved;
}

void editor_draw(const EditorState& e, const EditorColors& colors, bool blink_on,
                 gfx::IMAGE* target, const Rect& rect) {
    if (!e.open) return;
    if (!target) target = gfx::current_target();
    if (!target) return;
    DrawMarks marks;
    marks.first_row = e.caret.first_row;
    marks.selection = e.selection;
    marks.caret_line = e.caret.line;
    marks.caret_column = e.caret.column;
    marks.caret_on = blink_on;
    draw_document(e.doc, e.layout, e.previews, e.metrics, marks, colors, target, rect);

    // The scroll bar: the thumb is the visible share of all rows, never
    // taller than the bar, and follows the first visible row.
    const gfx::DrawState saved = target->state;
    gfx::set_viewport(rect.x, rect.y, rect.x + rect.width, rect.y + rect.height, 1, target);
    int left = rect.width - kScrollBarWidth;
    fill(target, colors.bar_track, left, 0, rect.width, rect.height);
    int vis = std::max(1, e.metrics.box_height / std::max(1, e.metrics.row_height));
    int total = std::max(e.layout.rows, vis);
    int thumb = std::min(rect.height, static_cast<int>(int64_t{rect.height} * vis / total));
    int top = static_cast<int>(int64_t{rect.height} * e.caret.first_row / total);
    top = std::min(top, rect.height - thumb);
    fill(target, colors.bar_thumb, left, top, rect.width, top + std::max(1, thumb));
    target->state = saved;
}

}  // namespace nd::content
