// The window-size dialog (kind 8): two fields for the width and the height,
// the current size beside them; empty fields maximise to the work area.
#pragma once

#include <string_view>

#include "gfx/gfx.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;
struct FormDialog;

inline constexpr int kSizeDialogMin = 300;
inline constexpr int kSizeDialogMax = 3840;

struct SizeChoice {
    int width = 0;
    int height = 0;
    bool maximised = false;  // both fields empty (or zero): the work area, at its corner
};

// What the two entries ask for in a work area of `area`: decimal numbers,
// an empty or unreadable entry reading as 0; both 0 maximise, a single 0
// takes the work area's side, the rest are clamped to 300..3840.
SizeChoice size_from_entries(std::string_view width, std::string_view height,
                             const gfx::Rect& area);

bool confirm_window_size(MainView& view, FormDialog& dialog);
void draw_size_dialog(const MainView& view, const FormDialog& dialog, gfx::IMAGE* canvas);

}  // namespace nd
