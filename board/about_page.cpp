#include "board/about_page.h"

#include <cstdio>

#include "board/main_view.h"
#include "skins/names.h"
#include "skins/palette.h"
#include "ui/dialog_frame.h"

namespace nd {

namespace {

constexpr char kFace[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";    // 微软雅黑
constexpr char kCloseHint[] = "\xB0\xB4 Esc \xB9\xD8\xB1\xD5";  // 按 Esc 关闭
constexpr char kTitle[] = "\xB9\xD8\xD3\xDA Nodrel";            // 关于 Nodrel
constexpr int kCornerSize = 7;
constexpr int kLogoLeft = 48;
constexpr int kLogoTop = 110;
constexpr int kTextLeft = 250;
// The title banner (400 x 48) carries the page's title right of its own
// small logo.
constexpr int kBannerWidth = 400;
constexpr int kBannerTop = 30;
constexpr int kBannerTextLeft = 56;

struct AboutState {
    MainView* view = nullptr;
    ui::DialogFrame frame;
    SkinPictures about;  // ABOUT_MARGIN_0..3, ABOUT_TITLE
    SkinPictures logos;  // ABOUT_LOGO, ABOUT_LOGO_SMALL
};

AboutState g_about;

void load_pictures(AboutState& s) {
    // Reloads report only whether they loaded; the tables fit by
    // construction.
    (void)reload_on_change(&s.about, kAboutNames);
    (void)reload_on_change(&s.logos, kAboutLogoNames);
}

void place_picture(gfx::IMAGE* canvas, const SkinPictures& set, int index, int x, int y) {
    if (index < set.count && picture_loaded(set.images[index]))
        gfx::putimage_srcalpha(canvas, set.images[index], x, y);
}

bool pointer(ui::Panel& panel, const gfx::MouseMsg& msg) {
    AboutState& s = *static_cast<AboutState*>(panel.state);
    if (ui::dialog_frame_update(&s.frame, msg)) {
        panel.visible = false;
        if (s.view) request_redraw(*s.view);
        return true;
    }
    return panel.rect.contains(msg.x, msg.y);
}

void draw(const ui::Panel& panel, gfx::IMAGE* canvas) {
    const AboutState& s = *static_cast<const AboutState*>(panel.state);
    const int skin = current_skin();
    const gfx::Rect& b = panel.rect;
    ui::draw_dialog_frame(canvas, s.frame, skin);
    place_picture(canvas, s.about, pic::ABOUT_MARGIN_0, b.x, b.y);
    place_picture(canvas, s.about, pic::ABOUT_MARGIN_1, b.right() - kCornerSize, b.y);
    place_picture(canvas, s.about, pic::ABOUT_MARGIN_2, b.x, b.bottom() - kCornerSize);
    place_picture(canvas, s.about, pic::ABOUT_MARGIN_3, b.right() - kCornerSize,
                  b.bottom() - kCornerSize);
    const int banner_x = b.x + (b.w - kBannerWidth) / 2;
    place_picture(canvas, s.about, pic::ABOUT_TITLE, banner_x, b.y + kBannerTop);
    place_picture(canvas, s.logos, pic::ABOUT_LOGO, b.x + kLogoLeft, b.y + kLogoTop);

    char version[40];
    std::snprintf(version, sizeof version, "Nodrel %d.%d.%d", kProgramMajor, kProgramMinor,
                  kProgramPatch);
    gfx::set_font(18, 0, kFace, canvas);
    gfx::set_color(palette_color(kPalPanelTitle, skin), canvas);
    gfx::text_out(banner_x + kBannerTextLeft, b.y + kBannerTop + 12, kTitle, canvas);
    gfx::set_font(36, 0, kFace, canvas);
    gfx::text_out(b.x + kTextLeft, b.y + kLogoTop + 50, version, canvas);
    gfx::set_font(14, 0, kFace, canvas);
    gfx::set_color(palette_color(kPalPanelText, skin), canvas);
    gfx::text_out(b.right() - 90, b.bottom() - 30, kCloseHint, canvas);
}

void skin_changed(ui::Panel& panel, int) {
    load_pictures(*static_cast<AboutState*>(panel.state));
}

constexpr ui::PanelHooks kHooks = {
    .pointer = pointer,
    .wheel = nullptr,
    .key = nullptr,
    .draw = draw,
    .skin_changed = skin_changed,
};

}  // namespace

void install_about_page(MainView& view) {
    g_about.view = &view;
    ui::panel_install_hidden(&view_state().panels, kPanelAbout, &g_about, &kHooks);
}

void toggle_about_page(MainView& view) {
    ui::Panel* panel = ui::panel_find(&view_state().panels, kPanelAbout);
    if (!panel) return;
    panel->visible = !panel->visible;
    if (panel->visible) {
        panel->rect = {view.width / 2 - kAboutWidth / 2, view.height / 2 - kAboutHeight / 2,
                       kAboutWidth, kAboutHeight};
        ui::dialog_frame_place(&g_about.frame, panel->rect);
        load_pictures(g_about);
        ui::panel_bring_to_front(&view_state().panels, kPanelAbout);
    }
    request_redraw(view);
}

}  // namespace nd
