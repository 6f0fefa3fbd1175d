// The options panel: dialog kind 6, a 440-pixel-wide side panel at the
// window's left edge, opened from the top bar's options button. It shows
// the three theme tiles and five of the nine option switches of
// "config.cfg"; a switch is saved the moment it flips.
//
// It holds the open-dialog slot as kind 6 like the dialog object's kinds,
// but it is no text-entry form: it has its own hooks, since its clicks
// land on switches and tiles and a click beside it closes it.
#pragma once

#include "board/dialog_kinds.h"
#include "gfx/rect.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

inline constexpr int kOptionsWidth = 440;

// The rows shown, top to bottom, and their switches' y.
inline constexpr int kShownOptions[5] = {0, 7, 4, 8, 2};
inline constexpr int kOptionRowY[5] = {210, 297, 384, 471, 558};
// The theme tiles' skins, left to right, and the tiles' x (y is 50).
inline constexpr int kThemeSkins[3] = {0, 2, 3};
inline constexpr int kThemeTileX[3] = {45, 165, 285};

// A switch's hot zone (44 x 20 at its place) and a tile (100 x 57).
gfx::Rect option_switch_rect(int shown_row);
gfx::Rect theme_tile_rect(int tile);

// Opens the panel, or closes it when it is open.
void toggle_options_panel(MainView& view);
bool options_panel_open(const MainView& view);

// Flips option `row` (0..8) and saves "config.cfg" at once. 0, or -1 when
// the file could not be written; the option then keeps its old value.
[[nodiscard]] int flip_option(MainView& view, int row);

}  // namespace nd
