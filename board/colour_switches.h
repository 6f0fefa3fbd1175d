// The colour-switch box: floating panel 3, 286 x 166, under the left bar.
// Its four switches show and hide the Cases of a colour class (the board
// honours MainView::colour_shown when it draws and hit-tests); a left drag
// that starts in the box moves nothing.
#pragma once

#include "gfx/rect.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

inline constexpr int kSwitchBoxWidth = 286;
inline constexpr int kSwitchBoxHeight = 166;

// The switch of colour class c (0 grey, 1 green, 2 red, 3 yellow) inside
// the box.
gfx::Rect colour_switch_rect(int colour);

// Adds the box to the panel list, shown.
void install_colour_switches(MainView& view);
// Places the box below the left bar.
void colour_switches_place(MainView& view, const gfx::Rect& left_bar);
// Flips colour class c on or off; the board redraws.
void toggle_colour(MainView& view, int colour);
void free_colour_switches();

}  // namespace nd
