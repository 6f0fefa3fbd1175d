// A button: hovered while the pointer is over it, pressed while the left
// button went down over it and is still held, clicked when the left button
// goes down and comes up over it. Pictures for its looks come from the
// caller.
#pragma once

#include "gfx/gfx.h"
#include "gfx/window/window.h"

namespace nd::ui {

struct Button {
    gfx::Rect rect;
    bool hover = false;
    bool pressed = false;
};

// Takes one pointer message; true when it completes a click.
bool button_update(Button* button, const gfx::MouseMsg& msg);

// Forgets hover and press, for a button that is not taking input (hidden,
// or under a dialog).
void button_reset(Button* button);

// 0 normal, 1 hovered, 2 pressed with the pointer still over it.
int button_look(const Button& button);

// Places the picture of the button's look, centred on its rectangle;
// `images` holds `count` looks (a look past the last uses the last). False
// when that picture is missing, so the caller can draw a stand-in.
bool draw_button_picture(gfx::IMAGE* canvas, const Button& button, gfx::IMAGE* const* images,
                         int count);

}  // namespace nd::ui
