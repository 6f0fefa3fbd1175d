// How the open menu looks: its alphas, its background drawn once at its
// size, and the colour rows' reserved-status zone.
#pragma once

#include "board/menu.h"

namespace nd {

// The menu and a newly hovered item fade in from this alpha by
// kMenuAlphaStep a frame up to kMenuFullAlpha, the menu to
// kMenuInsideAlpha while the pointer is inside it. Disabled items are
// placed at kMenuDisabledAlpha.
inline constexpr int kMenuFirstAlpha = 80;
inline constexpr int kMenuAlphaStep = 16;
inline constexpr int kMenuFullAlpha = 224;
inline constexpr int kMenuInsideAlpha = 239;
inline constexpr int kMenuDisabledAlpha = 64;

// A colour row's right end, from x + 143 to x + 205 of the row, runs the
// reserved status; its marks sit at (x + 143, y + 3).
inline constexpr int kReservedZoneLeft = 143;
inline constexpr int kReservedZoneRight = 205;
inline constexpr int kColourMarkTop = 3;

// Item 55's offered version: 106 pixels into the row, 5 down, in
// "Consolas" 15 px.
inline constexpr int kVersionLeft = 106;
inline constexpr int kVersionTop = 5;
inline constexpr gfx::Color kVersionColour = 0xFF3FD668;

// Draws the menu's background at its box's size: the skin's menu colour,
// its frame, the separators above their items and the four corners.
void render_menu_background(MenuState* menu);

}  // namespace nd
