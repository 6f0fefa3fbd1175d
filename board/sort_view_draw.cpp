// Drawing the sorting view: the Case's title, the mode buttons, and the four
// status columns with their headers, bars and entries.
#include <cstdio>

#include "board/main_view.h"
#include "board/organise_texts.h"
#include "board/pictures.h"
#include "board/sort_view.h"
#include "board/texts.h"
#include "skins/palette.h"

namespace nd {

namespace {

// The view keeps a dark ground in every skin, so its near-white title and
// headers always read.
constexpr uint32_t kGround = 0xFF202428u;
constexpr uint32_t kTitleText = 0xFFFCFCFCu;
constexpr uint32_t kEntryText = 0xFFD7D7CAu;
constexpr uint32_t kQuiet = 0xFF7C7865u;

void draw_buttons(const SortViewState& s, const gfx::Rect& b, gfx::IMAGE* canvas, int skin) {
    gfx::set_font(16, 0, texts::kYaHei, canvas);
    for (int m = 0; m < kSortModeCount; ++m) {
        const gfx::Rect r = sort_button_rect(b, m);
        const bool on = m == s.mode;
        if (on || m == s.hover_button) {
            gfx::set_fill_color(on ? palette_color(kPalOptionSelect, skin) : kQuiet, canvas);
            gfx::fill_bar(r.x, r.y, r.right(), r.bottom(), canvas);
        }
        gfx::set_color(kQuiet, canvas);
        gfx::draw_rectangle(r.x, r.y, r.right() - 1, r.bottom() - 1, canvas);
        // The icon: a dot in the status colour of the mode's order.
        gfx::set_fill_color(palette_color(kPalStatusBar + 4 * (m % 4), skin), canvas);
        gfx::fill_bar(r.x + 8, r.y + 9, r.x + 20, r.y + 21, canvas);
        gfx::set_color(kTitleText, canvas);
        gfx::text_out(r.x + 8 + 30, r.y + 5, texts::kSortModes[m], canvas);
    }
    const gfx::Rect close = sort_button_rect(b, kSortModeCount);
    gfx::set_color(s.hover_button == kSortModeCount ? kTitleText : kQuiet, canvas);
    gfx::draw_line(close.x + 6, close.y + 6, close.right() - 6, close.bottom() - 6, canvas);
    gfx::draw_line(close.right() - 6, close.y + 6, close.x + 6, close.bottom() - 6, canvas);
}

void draw_column(const SortViewState& s, const gfx::Rect& b, int c, gfx::IMAGE* canvas, int skin) {
    const auto& column = s.columns.columns[size_t(c)];
    const int x = sort_column_x(b, c);
    const int top = sort_column_top(b);
    char header[64];
    std::snprintf(header, sizeof header, texts::kCountedName, texts::kStatusName[c], int(column.size()));
    gfx::set_font(26, 0, texts::kYaHei, canvas);
    gfx::set_color(kTitleText, canvas);
    gfx::text_out(x + 14, top - 70, header, canvas);
    gfx::set_fill_color(palette_color(kPalStatusBar + 4 * c, skin), canvas);
    gfx::fill_bar(x, top - 63, x + 3, top - 38, canvas);

    gfx::set_font(16, 7, texts::kConsolas, canvas);
    const MainView* view = s.view;
    for (int i = 0; i < int(column.size()); ++i) {
        const int y = top + i * kSortEntryStep - s.scroll;
        if (y < top - 8) continue;
        if (y + kSortEntryStep > b.bottom()) break;
        const bool selected = c == s.selected_column && i == s.selected_entry;
        const bool hovered = c == s.hover_column && i == s.hover_entry;
        if (selected || hovered) {
            gfx::set_fill_color(selected ? palette_color(kPalOptionSelect, skin) : 0xFF3A3F44u, canvas);
            gfx::fill_bar(x + 2, y - 7, x + kSortColumnStep - 12, y + kSortEntryStep - 9, canvas);
        }
        const SortEntry& e = column[size_t(i)];
        if (view) place(canvas, view->pictures.status[size_t(e.colour)], x + 2, y);
        gfx::set_color(selected || hovered ? kTitleText : kEntryText, canvas);
        gfx::text_out(x + 2 + 17, y - 3, e.title, canvas);
    }
}

}  // namespace

void render_sort_view(SortViewState& s, const gfx::Rect& panel) {
    if (panel.w <= 0 || panel.h <= 0) return;
    if (!s.picture) s.picture = gfx::new_image(panel.w, panel.h);
    if (gfx::image_width(s.picture) != panel.w || gfx::image_height(s.picture) != panel.h)
        gfx::resize(s.picture, panel.w, panel.h);
    gfx::IMAGE* canvas = s.picture;
    gfx::set_bk_mode(gfx::kTransparent, canvas);
    const int skin = current_skin();
    // Drawn at the picture's own origin; the frame places it.
    const gfx::Rect b{0, 0, panel.w, panel.h};
    gfx::set_fill_color(kGround, canvas);
    gfx::fill_bar(b.x, b.y, b.right(), b.bottom(), canvas);
    gfx::set_color(palette_color(kPalOptionRule, skin), canvas);
    gfx::draw_rectangle(b.x, b.y, b.right() - 1, b.bottom() - 1, canvas);
    gfx::set_font(40, 0, texts::kYaHei, canvas);
    gfx::set_color(kTitleText, canvas);
    gfx::text_out(b.x + 30, b.y + 30, s.title, canvas);
    draw_buttons(s, b, canvas, skin);
    for (int c = 0; c < 4; ++c) draw_column(s, b, c, canvas, skin);
}

void draw_sort_view(const ui::Panel& panel, gfx::IMAGE* canvas) {
    const SortViewState& s = *static_cast<const SortViewState*>(panel.state);
    if (s.picture) gfx::putimage(panel.rect.x, panel.rect.y, s.picture, gfx::kSrcCopy, canvas);
}

void free_sort_view() {
    SortViewState& s = sort_view_state();
    if (s.picture) gfx::delete_image(s.picture);
    s.picture = nullptr;
    s.view = nullptr;
}

}  // namespace nd
