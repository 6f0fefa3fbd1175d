#include "board/colour_switches.h"

#include <cstdio>

#include "board/main_view.h"
#include "board/organise_texts.h"
#include "board/texts.h"
#include "skins/names.h"
#include "skins/palette.h"

namespace nd {

namespace {

constexpr int kSwitchSize = 56;
constexpr int kSwitchTop = 40;
constexpr int kSwitchLeft = 14;
constexpr int kSwitchStep = 68;

struct SwitchBox {
    MainView* view = nullptr;
    int hovered = -1;
    int pressed = -1;
    SkinPictures pictures;  // the LEFT_ row
};

SwitchBox g_box;

// Each colour's pictures, off and on.
constexpr int kPicture[4][2] = {{pic::LEFT_SW_NULL_0, pic::LEFT_SW_NULL_1},
                                {pic::LEFT_SW_GREEN_0, pic::LEFT_SW_GREEN_1},
                                {pic::LEFT_SW_RED_0, pic::LEFT_SW_RED_1},
                                {pic::LEFT_SW_YELLOW_0, pic::LEFT_SW_YELLOW_1}};

int switch_at(const gfx::Rect& box, int x, int y) {
    for (int c = 0; c < 4; ++c) {
        gfx::Rect r = colour_switch_rect(c);
        r.x += box.x;
        r.y += box.y;
        if (r.contains(x, y)) return c;
    }
    return -1;
}

// A switch flips on a press and a release over it; every other message in
// the box is used up, so a drag from the box pans or moves nothing.
bool pointer(ui::Panel& panel, const gfx::MouseMsg& msg) {
    SwitchBox& s = *static_cast<SwitchBox*>(panel.state);
    const int at = switch_at(panel.rect, msg.x, msg.y);
    if (at != s.hovered) view_state().redraw = true;
    s.hovered = at;
    const bool left = (msg.flags & gfx::kMouseLeft) != 0;
    if (msg.kind == gfx::kMouseDown && left) s.pressed = at;
    if (msg.kind == gfx::kMouseUp) {
        if (at >= 0 && at == s.pressed && s.view) toggle_colour(*s.view, at);
        s.pressed = -1;
    }
    return true;
}

void draw(const ui::Panel& panel, gfx::IMAGE* canvas) {
    const SwitchBox& s = *static_cast<const SwitchBox*>(panel.state);
    const int skin = current_skin();
    const gfx::Rect& b = panel.rect;
    gfx::set_fill_color(palette_color(kPalPanelBackground, skin), canvas);
    gfx::fill_bar(b.x, b.y, b.right(), b.bottom(), canvas);
    gfx::set_color(palette_color(kPalOptionRule, skin), canvas);
    gfx::draw_rectangle(b.x, b.y, b.right() - 1, b.bottom() - 1, canvas);
    gfx::set_font(15, 0, texts::kYaHei, canvas);
    gfx::set_color(palette_color(kPalPanelTitle, skin), canvas);
    gfx::text_out(b.x + 12, b.y + 10, texts::kColourSwitches, canvas);
    for (int c = 0; c < 4; ++c) {
        const gfx::Rect r = colour_switch_rect(c);
        const int x = b.x + r.x;
        const int y = b.y + r.y;
        const bool on = s.view && s.view->colour_shown[size_t(c)];
        const int index = kPicture[c][on ? 1 : 0];
        const gfx::IMAGE* image = index < s.pictures.count ? s.pictures.images[index] : nullptr;
        // Three looks: off, on, and either one lifted under the pointer.
        if (picture_loaded(image)) {
            gfx::putimage_alphablend(canvas, image, x, y, c == s.hovered ? 255 : on ? 235 : 150);
        } else {
            gfx::set_fill_color(palette_color(kPalStatusBar + 4 * c, skin), canvas);
            if (on) gfx::fill_bar(x, y, x + kSwitchSize, y + kSwitchSize, canvas);
        }
        if (c == s.hovered) {
            gfx::set_color(palette_color(kPalOptionSelect, skin), canvas);
            gfx::draw_rectangle(x - 2, y - 2, x + kSwitchSize + 1, y + kSwitchSize + 1, canvas);
        }
        gfx::set_font(14, 0, texts::kYaHei, canvas);
        gfx::set_color(on ? palette_color(kPalPanelText, skin) : palette_color(kPalOptionRule, skin),
                       canvas);
        gfx::text_out(x + 14, y + kSwitchSize + 10, texts::kStatusName[c], canvas);
    }
    if (s.view) {
        char cell[32];
        std::snprintf(cell, sizeof cell, "%d x %d", s.view->cell_width, s.view->cell_height);
        gfx::set_font(13, 0, texts::kConsolas, canvas);
        gfx::set_color(palette_color(kPalOptionRule, skin), canvas);
        gfx::text_out(b.right() - 80, b.y + 12, cell, canvas);
    }
}

void skin_changed(ui::Panel& panel, int) {
    (void)reload_on_change(&static_cast<SwitchBox*>(panel.state)->pictures, kLeftNames);
}

constexpr ui::PanelHooks kHooks = {
    .pointer = pointer,
    .double_click = nullptr,
    .wheel = nullptr,
    .key = nullptr,
    .draw = draw,
    .skin_changed = skin_changed,
};

}  // namespace

gfx::Rect colour_switch_rect(int colour) {
    return {kSwitchLeft + colour * kSwitchStep, kSwitchTop, kSwitchSize, kSwitchSize};
}

void install_colour_switches(MainView& view) {
    g_box.view = &view;
    g_box.hovered = -1;
    g_box.pressed = -1;
    (void)reload_on_change(&g_box.pictures, kLeftNames);
    // The list has room for every panel id.
    if (ui::Panel* panel = ui::panel_install(&view_state().panels, kPanelColourSwitches, &g_box, &kHooks))
        panel->visible = true;
}

void colour_switches_place(MainView&, const gfx::Rect& left_bar) {
    if (ui::Panel* panel = ui::panel_find(&view_state().panels, kPanelColourSwitches))
        panel->rect = {left_bar.x + 1, left_bar.bottom() + 10, kSwitchBoxWidth, kSwitchBoxHeight};
}

void toggle_colour(MainView& view, int colour) {
    if (colour < 0 || colour > 3) return;
    bool& shown = view.colour_shown[size_t(colour)];
    shown = !shown;
    request_redraw(view);
}

void free_colour_switches() {
    free_skin_pictures(&g_box.pictures);
    g_box.view = nullptr;
}

}  // namespace nd
