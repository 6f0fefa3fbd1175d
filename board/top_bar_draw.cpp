#include "board/case_attributes.h"
#include "board/command_case.h"
#include "board/layout.h"
#include "board/main_view.h"
#include "board/remaining.h"
#include "board/top_bar_look.h"
#include "skins/names.h"
#include "skins/palette.h"

namespace nd {

namespace {

constexpr int kTabLineWidth = 90;
constexpr int kTabLineHeight = 3;
constexpr int kBadgeLeft = 16;
constexpr int kBadgeTop = 5;

// A button as it looks now: hovered while the pointer is on it, pressed
// while the press that started on it is held there.
ui::Button look_of(const MainView& view, const gfx::Rect& rect, int button) {
    ui::Button b;
    b.rect = rect;
    b.hover = rect.contains(view.pointer.x, view.pointer.y);
    b.pressed = view.top_bar.pressed == button;
    return b;
}

void draw_hover_frame(gfx::IMAGE* canvas, const gfx::Rect& r, int skin) {
    gfx::set_color(palette_color(kPalOptionSelect, skin), canvas);
    gfx::draw_rectangle(r.x, r.y, r.right() - 1, r.bottom() - 1, canvas);
}

// Three short lines: the main menu.
void draw_menu_glyph(gfx::IMAGE* canvas, const ui::Button& b, int skin) {
    if (b.hover) {
        gfx::set_fill_color(palette_color(kPalOptionSelect, skin), canvas);
        gfx::fill_bar(b.rect.x, b.rect.y, b.rect.right(), b.rect.bottom(), canvas);
    }
    gfx::set_color(palette_color(kPalPanelTitle, skin), canvas);
    const int cx = b.rect.x + b.rect.w / 2;
    const int cy = b.rect.y + b.rect.h / 2;
    for (int dy = -4; dy <= 4; dy += 4) gfx::draw_line(cx - 6, cy + dy, cx + 6, cy + dy, canvas);
}

}  // namespace

void render_top_bar_background(TopBarState* s, int width) {
    const gfx::Rect bar = top_bar_rect(width);
    const int skin = current_skin();
    if (!s->bar) s->bar = gfx::new_image(bar.w, bar.h);
    gfx::resize(s->bar, bar.w, bar.h);
    gfx::set_bk_color(palette_color(kPalTopBar, skin), s->bar);
    gfx::clear_image(s->bar);
    gfx::set_color(palette_color(kPalOptionRule, skin), s->bar);
    gfx::draw_line(0, bar.h - 1, bar.w - 1, bar.h - 1, s->bar);
}

void draw_top_bar(const MainView& view, gfx::IMAGE* canvas) {
    const TopBarState& s = view.top_bar;
    const int skin = current_skin();
    const gfx::Rect bar = top_bar_rect(view.width);
    if (s.bar) gfx::putimage(bar.x, bar.y, s.bar, gfx::kSrcCopy, canvas);
    const TopBarPlaces places = top_bar_places(view);
    MenuTarget selected;
    selected.target = view_state().selected;
    const CaseRecord* record = command_case(selected);

    auto tool = [&](int button, int picture) {
        const ui::Button b = look_of(view, places.rects[size_t(button)], button);
        if (b.rect.empty()) return;
        if (s.tools.count > picture + 1) {
            gfx::IMAGE* const looks[2] = {s.tools.images[picture], s.tools.images[picture + 1]};
            const gfx::Rect icon = {b.rect.x, b.rect.y, b.rect.h, b.rect.h};
            ui::Button icon_button = b;
            icon_button.rect = icon;
            ui::draw_button_picture(canvas, icon_button, looks, 2);
        }
        if (b.hover && s.top.count > pic::TOP_TAB_LINE_1) {
            const int w = b.rect.w < kTabLineWidth ? b.rect.w : kTabLineWidth;
            gfx::putimage_alphablend(canvas, s.top.images[pic::TOP_TAB_LINE_1], b.rect.x,
                                     b.rect.bottom() + 1, 255, 0, 0, w, kTabLineHeight);
        }
        const std::string text =
            record ? top_label_text(button, *record, places.named_labels) : std::string();
        if (text.empty()) return;
        gfx::set_font(kTopBarTextSize, 0, kTopBarFace, canvas);
        gfx::set_color(palette_color(kPalPanelTitle, skin), canvas);
        gfx::text_out(b.rect.x + b.rect.h + 4, b.rect.y + (b.rect.h - kTopBarTextSize) / 2 - 1,
                      text.c_str(), canvas);
    };
    tool(kTopArrange, pic::T_LIST_0);
    tool(kTopKind, pic::T_ATTR_0);
    tool(kTopImportance, pic::T_ESS_0);
    tool(kTopDifficulty, pic::T_TARGET_0);
    tool(kTopCognition, pic::T_COG_0);

    const ui::Button logo = look_of(view, places.rects[kTopLogo], kTopLogo);
    if (s.logo.count > pic::ABOUT_LOGO_SMALL) {
        gfx::IMAGE* const small[1] = {s.logo.images[pic::ABOUT_LOGO_SMALL]};
        ui::draw_button_picture(canvas, logo, small, 1);
    }
    if (logo.hover) draw_hover_frame(canvas, logo.rect, skin);
    // The logo is the bar's update entry: while an update is offered it
    // carries the badge.
    if (view.menu.update.offered && picture_loaded(s.badge))
        gfx::putimage_srcalpha(canvas, s.badge, logo.rect.x + kBadgeLeft, logo.rect.y + kBadgeTop);

    const ui::Button colour = look_of(view, places.rects[kTopColour], kTopColour);
    if (record && !colour.rect.empty()) {
        gfx::IMAGE* const dot[1] = {
            view.menu.pictures.shared[size_t(kDotGrey + record->colour % 4)]};
        if (dot[0]) ui::draw_button_picture(canvas, colour, dot, 1);
        if (colour.hover) draw_hover_frame(canvas, colour.rect, skin);
    }

    draw_remaining(view, canvas);
    draw_menu_glyph(canvas, look_of(view, places.rects[kTopMenu], kTopMenu), skin);
    const int max_first = view.window.maximised ? pic::TOP_MAX_3 : pic::TOP_MAX_0;
    const int caption[5][2] = {{kTopOptions, pic::TOP_OP_0},
                               {kTopMinimise, pic::TOP_MIN_0},
                               {kTopSize, pic::TOP_REWIN_0},
                               {kTopMaximise, max_first},
                               {kTopClose, pic::TOP_CLOSE_0}};
    for (const auto& [button, first] : caption) {
        if (s.top.count < first + 3) continue;
        gfx::IMAGE* const looks[3] = {s.top.images[first], s.top.images[first + 1],
                                      s.top.images[first + 2]};
        ui::draw_button_picture(canvas, look_of(view, places.rects[size_t(button)], button), looks,
                                3);
    }
}

}  // namespace nd
