// The options panel: its layout, what its clicks do, and its drawing.
#include "board/options_panel.h"

#include <cstdio>

#include "board/dialog.h"
#include "board/left_bar.h"
#include "board/main_view.h"
#include "board/organise_texts.h"
#include "board/texts.h"
#include "session/progress.h"
#include "session/workspace.h"
#include "settings/settings.h"
#include "skins/names.h"
#include "skins/palette.h"
#include "skins/skin.h"
#include "ui/button.h"

namespace nd {

namespace {

constexpr int kTileTop = 50;
constexpr int kTileWidth = 100;
constexpr int kTileHeight = 57;
constexpr int kSwitchX = 310;
constexpr int kSwitchWidth = 44;
constexpr int kSwitchHeight = 20;
constexpr int kSeparatorY = 168;

struct OptionText {
    const char* name;
    const char* description;
};

// The rows shown, in the order of kShownOptions. Row 4 carries the
// wording the dialog object gives it when it is made ("快速建立 Case")
// instead of its stored name ("快速建立便签"); the byte is the same.
constexpr OptionText kTexts[5] = {
    {"\xCD\xF8\xB8\xF1", "\xCF\xD4\xCA\xBE\xCD\xF8\xB8\xF1\xCF\xDF\xA1\xA3"},  // 网格, 显示网格线。
    // 颜色框模式, Case 标题设置为颜色框模式。
    {"\xD1\xD5\xC9\xAB\xBF\xF2\xC4\xA3\xCA\xBD",
     "Case \xB1\xEA\xCC\xE2\xC9\xE8\xD6\xC3\xCE\xAA\xD1\xD5\xC9\xAB\xBF\xF2\xC4\xA3\xCA\xBD\xA1\xA3"},
    // 快速建立 Case, 立即建立 Case，省去标题。
    {"\xBF\xEC\xCB\xD9\xBD\xA8\xC1\xA2 Case",
     "\xC1\xA2\xBC\xB4\xBD\xA8\xC1\xA2 Case\xA3\xAC\xCA\xA1\xC8\xA5\xB1\xEA\xCC\xE2\xA1\xA3"},
    // 剩余显示, 显示各项可创建内容的剩余数。
    {"\xCA\xA3\xD3\xE0\xCF\xD4\xCA\xBE",
     "\xCF\xD4\xCA\xBE\xB8\xF7\xCF\xEE\xBF\xC9\xB4\xB4\xBD\xA8\xC4\xDA\xC8\xDD\xB5\xC4\xCA\xA3\xD3\xE0"
     "\xCA\xFD\xA1\xA3"},
    // 高性能模式, 增强渲染的流畅性，卡顿请关闭。
    {"\xB8\xDF\xD0\xD4\xC4\xDC\xC4\xA3\xCA\xBD",
     "\xD4\xF6\xC7\xBF\xE4\xD6\xC8\xBE\xB5\xC4\xC1\xF7\xB3\xA9\xD0\xD4\xA3\xAC\xBF\xA8\xB6\xD9\xC7\xEB"
     "\xB9\xD8\xB1\xD5\xA1\xA3"},
};
constexpr char kOk[] = "\xC8\xB7\xB6\xA8";  // 确定

struct OptionsState {
    ui::Button ok;
    ui::Button close;
    int hovered_tile = -1;
    SkinPictures switches;  // OPTION_CLOSE, OPTION_OPEN
    SkinPictures tiles;     // NEWBOX_THEME_0..3
};

OptionsState g_options;

uint8_t& option_byte(int row) {
    return program_config().profiles[kProductCode].options[row];
}

gfx::Rect panel_rect(const MainView& view) {
    return {0, 0, kOptionsWidth, view.height};
}

void place_buttons(const MainView& view) {
    const gfx::Rect r = panel_rect(view);
    g_options.ok.rect = {r.w / 2 - 50, r.bottom() - 70, 100, 32};
    g_options.close.rect = {r.right() - 47, r.y + 2, 45, 20};
}

void choose_theme(int tile) {
    // Only once the board has loaded, and only for another skin; the frame
    // that follows reloads the pictures of every part of the board.
    if (!board_ready()) return;
    const int skin = kThemeSkins[tile];
    if (skin == current_skin()) return;
    if (switch_skin(skin) != kSkinSwitched) return;
    (void)reload_on_change(&g_options.switches, kOptionNames);
    (void)reload_on_change(&g_options.tiles, kThemeTileNames);
}

bool pointer(MainView& view, const gfx::MouseMsg& msg) {
    OptionsState& s = g_options;
    place_buttons(view);
    const bool ok = ui::button_update(&s.ok, msg);
    const bool close = ui::button_update(&s.close, msg);
    const bool left_down = msg.kind == gfx::kMouseDown && (msg.flags & gfx::kMouseLeft);
    s.hovered_tile = -1;
    for (int t = 0; t < 3; ++t)
        if (theme_tile_rect(t).contains(msg.x, msg.y)) s.hovered_tile = t;
    request_redraw(view);
    if (ok || close) {
        close_dialog(view);
        return true;
    }
    if (!panel_rect(view).contains(msg.x, msg.y)) {
        // A click beside the panel closes it and goes no further.
        if (left_down || (msg.kind == gfx::kMouseDown && (msg.flags & gfx::kMouseRight)))
            close_dialog(view);
        return true;
    }
    if (!left_down) return true;
    for (int k = 0; k < 5; ++k) {
        if (!option_switch_rect(k).contains(msg.x, msg.y)) continue;
        (void)flip_option(view, kShownOptions[k]);
        return true;
    }
    if (s.hovered_tile >= 0) choose_theme(s.hovered_tile);
    return true;
}

void key(MainView& view, int code) {
    if (code == 27) close_dialog(view);
}

const gfx::IMAGE* picture(const SkinPictures& set, int index) {
    const gfx::IMAGE* image = index < set.count ? set.images[index] : nullptr;
    return picture_loaded(image) ? image : nullptr;
}

void draw_tiles(const OptionsState& s, gfx::IMAGE* canvas, int skin) {
    gfx::set_font(14, 0, texts::kYaHei, canvas);
    for (int t = 0; t < 3; ++t) {
        const gfx::Rect r = theme_tile_rect(t);
        const int tile_skin = kThemeSkins[t];
        if (const gfx::IMAGE* image = picture(s.tiles, pic::NEWBOX_THEME_0 + tile_skin)) {
            gfx::putimage(r.x, r.y, image, gfx::kSrcCopy, canvas);
        } else {
            gfx::set_fill_color(palette_color(kPalPageBackground, tile_skin), canvas);
            gfx::fill_bar(r.x, r.y, r.right(), r.bottom(), canvas);
        }
        gfx::set_color(palette_color(kPalPanelText, skin), canvas);
        gfx::text_out(r.x + 22, r.y + 60, kSkinTitle[tile_skin], canvas);
        if (tile_skin == skin || t == s.hovered_tile) {
            gfx::set_color(tile_skin == skin ? palette_color(kPalOptionSelect, skin)
                                             : palette_color(kPalOptionRule, skin),
                           canvas);
            gfx::draw_rectangle(r.x, r.y, r.right() - 1, r.bottom() - 1, canvas);
            gfx::draw_rectangle(r.x - 1, r.y - 1, r.right(), r.bottom(), canvas);
        }
    }
}

void draw_rows(const OptionsState& s, gfx::IMAGE* canvas, int skin) {
    for (int k = 0; k < 5; ++k) {
        const int y = kOptionRowY[k];
        gfx::set_color(palette_color(kPalPanelTitle, skin), canvas);
        gfx::set_font(24, 0, texts::kYaHei, canvas);
        gfx::text_out(45, y - 5, kTexts[k].name, canvas);
        gfx::set_color(palette_color(kPalPanelText, skin), canvas);
        gfx::set_font(16, 0, texts::kYaHei, canvas);
        gfx::text_out(45, y + 30, kTexts[k].description, canvas);
        const bool on = option_byte(kShownOptions[k]) != 0;
        if (const gfx::IMAGE* image = picture(s.switches, on ? pic::OPTION_OPEN : pic::OPTION_CLOSE)) {
            gfx::putimage_srcalpha(canvas, image, kSwitchX, y);
        } else {
            gfx::set_fill_color(on ? palette_color(kPalOptionSelect, skin) : palette_color(kPalOptionRule, skin),
                                canvas);
            gfx::fill_bar(kSwitchX, y, kSwitchX + kSwitchWidth, y + kSwitchHeight, canvas);
        }
    }
}

void draw(const MainView& view, gfx::IMAGE* canvas) {
    const OptionsState& s = g_options;
    const int skin = current_skin();
    const gfx::Rect r = panel_rect(view);
    gfx::set_fill_color(palette_color(kPalPanelBackground, skin), canvas);
    gfx::fill_bar(r.x, r.y, r.right(), r.bottom(), canvas);
    gfx::set_color(palette_color(kPalOptionRule, skin), canvas);
    gfx::draw_line(r.right() - 1, r.y, r.right() - 1, r.bottom() - 1, canvas);
    draw_tiles(s, canvas, skin);
    gfx::set_color(palette_color(kPalOptionRule, skin), canvas);
    gfx::draw_line(45, kSeparatorY, 387, kSeparatorY, canvas);
    draw_rows(s, canvas, skin);

    const ui::Button& ok = s.ok;
    gfx::set_fill_color(ok.hover ? palette_color(kPalOptionSelect, skin) : palette_color(kPalOptionRule, skin),
                        canvas);
    gfx::fill_bar(ok.rect.x, ok.rect.y, ok.rect.right(), ok.rect.bottom(), canvas);
    gfx::set_font(16, 0, texts::kYaHei, canvas);
    gfx::set_color(0xFFFCFCFCu, canvas);
    gfx::text_out(ok.rect.x + 34, ok.rect.y + 6, kOk, canvas);
    const ui::Button& close = s.close;
    gfx::set_color(close.hover ? palette_color(kPalOptionSelect, skin) : palette_color(kPalPanelText, skin),
                   canvas);
    const int cx = close.rect.x + close.rect.w / 2, cy = close.rect.y + close.rect.h / 2;
    gfx::draw_line(cx - 5, cy - 5, cx + 5, cy + 5, canvas);
    gfx::draw_line(cx + 5, cy - 5, cx - 5, cy + 5, canvas);
}

constexpr DialogHooks kHooks = {
    .pointer = pointer,
    .key = key,
    .draw = draw,
    .closing = nullptr,
};

}  // namespace

gfx::Rect option_switch_rect(int shown_row) {
    return {kSwitchX, kOptionRowY[shown_row], kSwitchWidth, kSwitchHeight};
}

gfx::Rect theme_tile_rect(int tile) {
    return {kThemeTileX[tile], kTileTop, kTileWidth, kTileHeight};
}

bool options_panel_open(const MainView& view) {
    return view.dialog.kind == kDialogOptions;
}

void toggle_options_panel(MainView& view) {
    if (options_panel_open(view)) {
        close_dialog(view);
        return;
    }
    OptionsState& s = g_options;
    ui::button_reset(&s.ok);
    ui::button_reset(&s.close);
    s.hovered_tile = -1;
    (void)reload_on_change(&s.switches, kOptionNames);
    (void)reload_on_change(&s.tiles, kThemeTileNames);
    place_buttons(view);
    open_dialog(view, kDialogOptions, &kHooks, &s);
}

int flip_option(MainView& view, int row) {
    if (row < 0 || row > 8) return -1;
    uint8_t& byte = option_byte(row);
    const uint8_t before = byte;
    byte = before ? 0 : 1;
    const char* path = view.app ? view.app->ConfigCfgPath : "";
    if (path[0] == 0 || save_config(path, program_config()) != 0) {
        // What is not on disk is not shown as switched either.
        byte = before;
        std::fprintf(stderr, "nodrel: config.cfg cannot be written; the option stays as it was\n");
        return -1;
    }
    if (row == 0) left_bar_place(view);
    request_redraw(view);
    return 0;
}

}  // namespace nd
