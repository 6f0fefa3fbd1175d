// A picture of a board: what `nodrel-tool render` draws and the layout it
// writes beside it, from the same view and drawing code as the program.
#pragma once

#include <string>

#include "gfx/gfx.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

// Drawing leaves alpha 0 where lines, bars and text went (the window shows
// colour only); a picture to keep sets every pixel opaque.
void make_opaque(gfx::IMAGE* image);

// What was drawn, as JSON: the size, origin and scale, the shown cards front
// to back (Case "G.B.S", screen rectangle, form, colour, whether it is the
// top card), and the corner points of every orthogonal connector drawn.
std::string layout_json(const MainView& view);

}  // namespace nd
