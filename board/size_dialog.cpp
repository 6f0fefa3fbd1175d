#include "board/size_dialog.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "board/form_dialog.h"
#include "board/main_view.h"
#include "board/texts.h"
#include "board/window_mgmt.h"
#include "gfx/window/window.h"
#include "session/workspace.h"
#include "skins/palette.h"
#include "skins/skin.h"

namespace nd {

namespace {

// "当前: %d x %d (不填则最大化)"
constexpr char kCurrentSize[] =
    "\xB5\xB1\xC7\xB0: %d x %d (\xB2\xBB\xCC\xEE\xD4\xF2\xD7\xEE\xB4\xF3\xBB\xAF)";

int read_number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && value > 0 ? value : 0;
}

}  // namespace

SizeChoice size_from_entries(std::string_view width, std::string_view height,
                             const gfx::Rect& area) {
    const int w = read_number(width);
    const int h = read_number(height);
    SizeChoice choice;
    if (w == 0 && h == 0) {
        choice = {area.w, area.h, true};
        return choice;
    }
    choice.width = w == 0 ? area.w : std::clamp(w, kSizeDialogMin, kSizeDialogMax);
    choice.height = h == 0 ? area.h : std::clamp(h, kSizeDialogMin, kSizeDialogMax);
    return choice;
}

void open_size_dialog(MainView& view) {
    open_form_dialog(view, kDialogWindowSize, 0, 0, 0);
}

// The main loop resizes and places the window and lays the view out again
// (RunState 3); the size is kept with the workspace.
bool confirm_window_size(MainView& view, FormDialog& d) {
    const SizeChoice choice =
        size_from_entries(form_field_text(d, 0), form_field_text(d, 1), gfx::work_area());
    App& app = *view.app;
    app.WindowWidth = choice.width;
    app.WindowHeight = choice.height;
    app.WindowPlaced = choice.maximised ? 0 : 1;
    view.window.maximised = choice.maximised ? 1 : 0;
    view.border = true;
    if (store_window_size(choice.width, choice.height) != 0) {
        std::fprintf(stderr, "nodrel: %s cannot be written; the window size is not kept\n",
                     open_workspace_settings().path.c_str());
    }
    app.RunState.store(kRelayout);
    return true;
}

void draw_size_dialog(const MainView& view, const FormDialog& d, gfx::IMAGE* canvas) {
    int width = view.width, height = view.height;
    if (!stored_window_size(&width, &height)) {
        width = view.width;
        height = view.height;
    }
    const gfx::Rect& box = d.frame.box;
    const int skin = current_skin();
    gfx::set_font(14, 0, texts::kYaHei, canvas);
    gfx::set_color(palette_color(kPalPanelText, skin), canvas);
    gfx::text_out(d.field_rects[0].right() + 4, d.field_rects[0].y + 7, "x", canvas);
    char note[96];
    std::snprintf(note, sizeof note, kCurrentSize, width, height);
    gfx::set_font(13, 0, texts::kYaHei, canvas);
    gfx::text_out(box.x + 20, box.y + 100, note, canvas);
}

}  // namespace nd
