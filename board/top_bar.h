// The top bar: the window's own caption buttons (minimise, size, maximise or
// restore, close, menu) and the bar's labels, over the board at
// top_bar_rect() (board/layout.h). Its pointer input arrives with hit code
// -5; a click on the close button sets MainView::close_requested.
#pragma once

#include "gfx/gfx.h"
#include "gfx/window/window.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

struct TopBarState {
    int pressed = -1;  // the button under a press, until the release
};

// Places the bar's buttons for the window width.
void top_bar_layout(MainView& view);
// A pointer message over the bar, or one that follows a press on it. True
// when the bar used it.
bool top_bar_pointer(MainView& view, const gfx::MouseMsg& msg);
void draw_top_bar(const MainView& view, gfx::IMAGE* canvas);
void top_bar_skin_changed(MainView& view);
void free_top_bar(MainView& view);

}  // namespace nd
