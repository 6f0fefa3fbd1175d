#include "board/menu_draw.h"

#include <cstdio>

#include "board/main_view.h"
#include "skins/palette.h"
#include "skins/skin.h"

namespace nd {

namespace {

// The menu wears the panels' colours: its items are drawn on the panel
// background, so the box around them is too.
gfx::Color menu_fill(int skin) {
    return palette_color(kPalPanelBackground, skin);
}
gfx::Color menu_frame(int skin) {
    return palette_color(kPalOptionRule, skin);
}

constexpr int kCornerSize = 7;

}  // namespace

void render_menu_background(MenuState* m) {
    const int skin = current_skin();
    const gfx::Rect& box = m->box;
    if (!m->background) m->background = gfx::new_image(box.w, box.h);
    gfx::resize(m->background, box.w, box.h);
    gfx::IMAGE* bg = m->background;
    gfx::set_bk_color(menu_fill(skin), bg);
    gfx::clear_image(bg);
    gfx::set_color(menu_frame(skin), bg);
    gfx::draw_rectangle(0, 0, box.w - 1, box.h - 1, bg);
    for (int i = 0; i < m->count; ++i) {
        const MenuEntry& e = m->entries[size_t(i)];
        if (!e.separator) continue;
        const int x = e.x - box.x;
        const int y = e.y - box.y - kMenuSeparatorAbove;
        gfx::draw_line(x, y, x + kMenuSeparatorLength - 1, y, bg);
    }
    // Corners 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right; they
    // carry the board's colour outside their rounding.
    const int right = box.w - kCornerSize;
    const int bottom = box.h - kCornerSize;
    const int place[4][2] = {{0, 0}, {right, 0}, {0, bottom}, {right, bottom}};
    for (int c = 0; c < 4 && c < m->pictures.corners.count; ++c) {
        const gfx::IMAGE* corner = m->pictures.corners.images[c];
        if (picture_loaded(corner))
            gfx::putimage(place[c][0], place[c][1], corner, gfx::kSrcCopy, bg);
    }
}

void draw_menu(const MainView& view, gfx::IMAGE* canvas) {
    const MenuState& m = view.menu;
    if (!m.open || !m.background) return;
    gfx::putimage_alphablend(canvas, m.background, m.box.x, m.box.y, m.alpha);
    const MenuPictures& p = m.pictures;
    for (int i = 0; i < m.count; ++i) {
        const MenuEntry& e = m.entries[size_t(i)];
        const ui::MenuItemPictures& item = p.items[size_t(e.item)];
        if (!item.normal) continue;
        gfx::putimage_alphablend(canvas, item.normal, e.x, e.y,
                                 e.enabled ? m.alpha : kMenuDisabledAlpha);
        if (i == m.hovered)
            gfx::putimage_alphablend(canvas, item.highlighted, e.x, e.y, m.hover_alpha);
        const int colour = colour_of_item(e.item);
        if (colour >= 0) {
            const int mx = e.x + kReservedZoneLeft;
            const int my = e.y + kColourMarkTop;
            if (colour == m.case_colour && picture_loaded(p.shared[kColourMark]))
                gfx::putimage_srcalpha(canvas, p.shared[kColourMark], mx, my);
            if (colour == m.case_reserved && picture_loaded(p.shared[kReservedMark]))
                gfx::putimage_srcalpha(canvas, p.shared[kReservedMark], mx, my);
            if (colour == m.hot_colour && i == m.hovered) {
                gfx::set_color(palette_color(kPalOptionSelect, current_skin()), canvas);
                gfx::draw_rectangle(e.x + kReservedZoneLeft - 2, e.y + 1, e.x + kReservedZoneRight,
                                    e.y + ui::kMenuItemHeight - 2, canvas);
            }
        }
        if (e.item == kItemUpdateNote && m.update.offered) {
            char version[40];
            std::snprintf(version, sizeof version, "(%d.%d.%d)", m.update.major, m.update.minor,
                          m.update.patch);
            gfx::set_font(-15, 0, "Consolas", canvas);
            gfx::set_color(kVersionColour, canvas);
            gfx::text_out(e.x + kVersionLeft, e.y + kVersionTop, version, canvas);
        }
    }
}

}  // namespace nd
