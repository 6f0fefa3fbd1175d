// Plain shapes the board draws with the fill colour of the canvas: discs,
// one-pixel lines along the axes and outlines. Each clips to the canvas's
// viewport like the graphics layer's own bars.
#pragma once

#include "gfx/gfx.h"

namespace nd {

// A filled disc of radius r centred on (cx, cy), one bar per row.
void fill_disc(gfx::IMAGE* canvas, int cx, int cy, int r, gfx::Color colour);
// A one-pixel line from (x1, y) to (x2, y), both ends included.
void hline(gfx::IMAGE* canvas, int x1, int x2, int y, gfx::Color colour);
// A one-pixel line from (x, y1) to (x, y2), both ends included.
void vline(gfx::IMAGE* canvas, int x, int y1, int y2, gfx::Color colour);
// The one-pixel outline of `r`, inside it.
void outline(gfx::IMAGE* canvas, const gfx::Rect& r, gfx::Color colour);
void fill_rect(gfx::IMAGE* canvas, const gfx::Rect& r, gfx::Color colour);

}  // namespace nd
