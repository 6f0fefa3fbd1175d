// Drawing the left bar: the header, the tabs in their looks, the rows of
// the tab shown and the preview bars.
#include <algorithm>
#include <cstdio>

#include "board/left_bar.h"
#include "board/main_view.h"
#include "board/organise_texts.h"
#include "board/texts.h"
#include "skins/names.h"
#include "skins/palette.h"

namespace nd {

namespace {

constexpr int kTabTop = 42;
constexpr int kTabLeft = 11;
constexpr int kTabGap = 4;
constexpr int kTabFontSize = 15;
constexpr int kRowFontSize = 16;
constexpr int kCaseFontSize = 14;
constexpr int kHighlightX = 11;
constexpr int kBarWidth = 255;
constexpr int kBarHeight = 7;
constexpr int kHoverAlpha = 144;
constexpr int kQuietBarAlpha = 143;

const gfx::IMAGE* picture(const LeftBarState& s, int index) {
    const gfx::IMAGE* image = index < s.pictures.count ? s.pictures.images[index] : nullptr;
    return picture_loaded(image) ? image : nullptr;
}

// Highlighted rows are written in black on the light skins and in near
// white on the dark ones.
uint32_t highlighted_text(int skin) {
    return skin == kSkinCake || skin == kSkinWhite ? 0xFF000000u : 0xFFFCFCFCu;
}

const char* tab_label(const LeftBarState& s, int tab, char* room, size_t size) {
    if (tab == kTabCategories) return texts::kTabCategories;
    if (tab == kTabBoardCases) return texts::kTabBoardCases;
    if (s.preview_board < 0) return texts::kTabNoPreview;
    std::snprintf(room, size, "%s", s.categories[size_t(s.preview_board)].name);
    return room;
}

void free_image(gfx::IMAGE*& image) {
    if (image) gfx::delete_image(image);
    image = nullptr;
}

void draw_highlight(gfx::IMAGE* canvas, const LeftBarState& s, int x, int y, int height, int alpha) {
    if (const gfx::IMAGE* image = picture(s, pic::LEFT_BOARD_1)) {
        gfx::putimage_alphablend(canvas, image, x, y, alpha, 0, 0, kBarWidth, height);
        return;
    }
    gfx::set_fill_color(palette_color(kPalOptionSelect, current_skin()), canvas);
    gfx::fill_bar(x, y, x + kBarWidth, y + height, canvas);
}

void draw_categories(const LeftBarState& s, const gfx::Rect& list, gfx::IMAGE* canvas, int skin) {
    const int current = view_state().board;
    gfx::set_font(kRowFontSize, 0, texts::kYaHei, canvas);
    char text[96];
    for (int k = 0; k < s.category_count; ++k) {
        const int y = list.y + kFirstRowY + k * kCategoryRowStep - s.scroll[kTabCategories];
        if (y - kFirstRowY < list.y) continue;
        if (y - kFirstRowY + kCategoryRowStep - 6 > list.bottom()) break;
        const CategoryRow& row = s.categories[size_t(k)];
        const bool is_current = row.used && row.board == current;
        const bool hovered = k == s.hover_row;
        if (is_current || hovered)
            draw_highlight(canvas, s, list.x + kHighlightX, y - 6, 48, is_current ? 255 : kHoverAlpha);
        if (!row.used) {
            gfx::set_color(palette_color(kPalOptionRule, skin), canvas);
            gfx::text_out(list.x + 24, y + 4, texts::kPlaceholderRow, canvas);
            continue;
        }
        if (row.cases > 0) {
            std::snprintf(text, sizeof text, texts::kCountedName, row.name, row.cases);
        } else {
            std::snprintf(text, sizeof text, "%s", row.name);
        }
        gfx::set_color(is_current || hovered ? highlighted_text(skin) : palette_color(kPalPanelText, skin),
                       canvas);
        gfx::text_out(list.x + 24, y + 4, text, canvas);
        if (const gfx::IMAGE* bar = s.bars[size_t(row.board)])
            gfx::putimage_alphablend(canvas, bar, list.x + kHighlightX, y + 31,
                                     is_current || hovered ? 255 : kQuietBarAlpha);
    }
}

void draw_cases(const LeftBarState& s, const CaseList& cases, int tab, const gfx::Rect& list,
                gfx::IMAGE* canvas, int skin) {
    const MainView* view = s.view;
    gfx::set_font(kCaseFontSize, 0, texts::kYaHei, canvas);
    for (int k = 0; k < cases.count; ++k) {
        const int y = list.y + kFirstRowY + k * kCaseRowStep - s.scroll[size_t(tab)];
        if (y - kFirstRowY < list.y) continue;
        if (y - kFirstRowY + kCaseRowStep > list.bottom()) break;
        const LeftCaseRow& row = cases.rows[size_t(k)];
        const bool selected = k == s.selected[size_t(tab)];
        const bool hovered = k == s.hover_row;
        if (selected || hovered)
            draw_highlight(canvas, s, list.x + kHighlightX, y - 4, kCaseRowStep - 4,
                           selected ? 255 : kHoverAlpha);
        if (view) place(canvas, view->pictures.status[size_t(row.colour)], list.x + 20, y + 8);
        gfx::set_color(selected || hovered ? highlighted_text(skin) : palette_color(kPalPanelText, skin),
                       canvas);
        gfx::text_out(list.x + 40, y + 4, row.title, canvas);
    }
}

void draw_scroll_mark(const LeftBarState& s, const gfx::Rect& list, gfx::IMAGE* canvas, int skin) {
    const int step = s.tab == kTabCategories ? kCategoryRowStep : kCaseRowStep;
    const int rows = s.tab == kTabCategories  ? s.category_count
                     : s.tab == kTabBoardCases ? s.board_cases.count
                                               : s.preview_cases.count;
    const int content = kFirstRowY + rows * step;
    if (content <= list.h || list.h <= 0) return;
    const int thumb = std::max(16, list.h * list.h / content);
    const int top = list.y + (list.h - thumb) * s.scroll[size_t(s.tab)] / (content - list.h);
    gfx::set_fill_color(palette_color(kPalOptionRule, skin), canvas);
    gfx::fill_bar(list.right() - 6, top, list.right() - 3, top + thumb, canvas);
}

}  // namespace

void render_left_bar_tabs(LeftBarState& s) {
    if (!s.measure) return;
    const int skin = current_skin();
    gfx::set_font(kTabFontSize, 0, texts::kYaHei, s.measure);
    int x = kTabLeft;
    char room[96];
    for (int t = 0; t < kLeftTabCount; ++t) {
        const char* label = tab_label(s, t, room, sizeof room);
        const int w = gfx::text_width(label, s.measure) + 20;
        const int h = gfx::text_height(label, s.measure) + 7;
        s.tab_rects[size_t(t)] = {x, kTabTop, w, h};
        x += w + kTabGap;
        static constexpr int kFill[3] = {kPalPanelBackground, kPalOptionRule, kPalOptionSelect};
        for (int look = 0; look < 3; ++look) {
            gfx::IMAGE*& image = s.tabs[size_t(t)][size_t(look)];
            if (!image) image = gfx::new_image(w, h);
            gfx::resize(image, w, h);
            gfx::set_bk_color(palette_color(kFill[look], skin), image);
            gfx::clear_image(image);
            gfx::set_bk_mode(gfx::kTransparent, image);
            gfx::set_font(kTabFontSize, 0, texts::kYaHei, image);
            gfx::set_color(look == 2 ? 0xFFFCFCFCu : palette_color(kPalPanelText, skin), image);
            gfx::text_out(10, 3, label, image);
        }
    }
}

void render_preview_bars(LeftBarState& s) {
    const int skin = current_skin();
    for (int k = 0; k < s.category_count; ++k) {
        const CategoryRow& row = s.categories[size_t(k)];
        if (!row.used) continue;
        const uint32_t made = 0x80000000u | row.colours[0] | uint32_t(row.colours[1]) << 7 |
                              uint32_t(row.colours[2]) << 14 | uint32_t(row.colours[3]) << 21;
        gfx::IMAGE*& bar = s.bars[size_t(row.board)];
        if (bar && s.bar_made[size_t(row.board)] == made) continue;
        s.bar_made[size_t(row.board)] = made;
        if (!bar) bar = gfx::new_image(kBarWidth, kBarHeight);
        // The bar shows the category's Cases by status, left to right in the
        // order grey, green, red, yellow, on a plain ground.
        gfx::set_bk_color(palette_color(kPalTopBar, skin), bar);
        gfx::clear_image(bar);
        if (row.cases == 0) continue;
        int x = 0;
        int seen = 0;
        for (int c = 0; c < 4; ++c) {
            seen += row.colours[size_t(c)];
            const int right = kBarWidth * seen / row.cases;
            if (right > x) {
                gfx::set_fill_color(palette_color(kPalStatusBar + 4 * c, skin), bar);
                gfx::fill_bar(x, 1, right, kBarHeight - 1, bar);
            }
            x = right;
        }
    }
}

void free_left_bar(LeftBarState& s) {
    for (auto& looks : s.tabs)
        for (gfx::IMAGE*& image : looks) free_image(image);
    for (gfx::IMAGE*& bar : s.bars) free_image(bar);
    s.bar_made.fill(0);
    free_skin_pictures(&s.pictures);
    free_image(s.measure);
}

void draw_left_bar(const ui::Panel& panel, gfx::IMAGE* canvas) {
    const LeftBarState& s = *static_cast<const LeftBarState*>(panel.state);
    const int skin = current_skin();
    const gfx::Rect& b = panel.rect;
    gfx::set_fill_color(palette_color(kPalPanelBackground, skin), canvas);
    gfx::fill_bar(b.x, b.y, b.right(), b.bottom(), canvas);
    if (const gfx::IMAGE* strip = picture(s, pic::LEFT_BAR_0)) place(canvas, strip, b.x, b.y);
    gfx::set_font(kTabFontSize, 0, texts::kYaHei, canvas);
    gfx::set_color(palette_color(kPalPanelTitle, skin), canvas);
    gfx::text_out(b.x + 12, b.y + 8, texts::kLeftBarTitle, canvas);

    for (int t = 0; t < kLeftTabCount; ++t) {
        const int look = t == s.tab ? 2 : t == s.hover_tab ? 1 : 0;
        const gfx::IMAGE* image = s.tabs[size_t(t)][size_t(look)];
        const gfx::Rect& r = s.tab_rects[size_t(t)];
        if (image) gfx::putimage(b.x + r.x, b.y + r.y, image, gfx::kSrcCopy, canvas);
    }
    const gfx::Rect list = left_bar_list_rect(b);
    if (const gfx::IMAGE* rule = picture(s, pic::LEFT_TAB_LINE)) place(canvas, rule, b.x, list.y - 8);

    if (s.tab == kTabCategories) {
        draw_categories(s, list, canvas, skin);
    } else {
        draw_cases(s, s.tab == kTabBoardCases ? s.board_cases : s.preview_cases, s.tab, list, canvas,
                   skin);
    }
    draw_scroll_mark(s, list, canvas, skin);
    gfx::set_color(palette_color(kPalOptionRule, skin), canvas);
    gfx::draw_rectangle(b.x, b.y, b.right() - 1, b.bottom() - 1, canvas);
}

}  // namespace nd
