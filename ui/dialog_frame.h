// The frame of a dialog: its box filled and outlined in the skin's panel
// colours, a title, and a close button in the top-right corner that the
// pointer can hover and click. What goes inside is the dialog's own.
#pragma once

#include "gfx/gfx.h"
#include "gfx/window/window.h"
#include "ui/button.h"

namespace nd::ui {

// The close button: 45 x 20 at the box's top-right, 2 pixels in.
inline constexpr int kDialogCloseWidth = 45;
inline constexpr int kDialogCloseHeight = 20;

struct DialogFrame {
    gfx::Rect box;
    const char* title = nullptr;  // GBK; none when null
    int title_x = 8;              // the title's place inside the box
    int title_y = 3;
    int title_size = 13;
    bool has_close = true;
    Button close;
};

// Places the frame at `box` (and its close button with it).
void dialog_frame_place(DialogFrame* frame, const gfx::Rect& box);

// Takes one pointer message; true when the close button was clicked.
bool dialog_frame_update(DialogFrame* frame, const gfx::MouseMsg& msg);

// Fills and outlines the box, writes the title and draws the close button
// (a cross, on the close colour while hovered).
void draw_dialog_frame(gfx::IMAGE* canvas, const DialogFrame& frame, int skin);

}  // namespace nd::ui
