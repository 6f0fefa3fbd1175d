// The pieces the recipes are built from: one drawing job (canvas, role,
// state, skin and the skin's colours) and a function per kind of picture.
#pragma once

#include "skins/gen/canvas.h"
#include "skins/gen/roles.h"
#include "skins/gen/theme.h"

namespace skingen {

struct Ctx {
    Canvas& c;
    const Role& role;
    int state;
    int skin;
    Theme t;
    float w, h;
};

// Controls (recipes_controls.cpp).
uint32_t state_ink(const Theme& t, int state);
void top_button(Ctx& x, Glyph glyph, int look);
void icon_button(Ctx& x);
void wide_button(Ctx& x);
void tab(Ctx& x);
void corner(Ctx& x, uint32_t inside, uint32_t frame);
void cap(Ctx& x);
void switch_toggle(Ctx& x, bool on, uint32_t on_color);
void row(Ctx& x);
void status_dot(Ctx& x);
void checkbox(Ctx& x);
void spinner(Ctx& x);
void slot(Ctx& x);

// Larger pictures (recipes_art.cpp).
void theme_tile(Ctx& x);
void logo(Ctx& x);
void robot(Ctx& x);
void progress(Ctx& x);
void stars(Ctx& x);
void banner(Ctx& x);
void feature(Ctx& x);

}  // namespace skingen
