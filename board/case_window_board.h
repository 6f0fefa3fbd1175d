// The board's side of the Case window (content/case_window.h): where it
// opens, opening it for a card, and files dropped on the board.
#pragma once

#include "gfx/gfx.h"
#include "session/view_state.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

// The window's place: the right part of the board below the top bar.
gfx::Rect case_window_place(const MainView& view);

// Shows the Case of card `card` in the Case window on its content tab.
void open_case_of_card(MainView& view, int card);

// A Ctrl+click at (x, y) on a window-form card's content: the attachment
// of the line there opens; when it cannot, the card's Case opens in the
// Case window, which says why.
void open_card_attachment(MainView& view, int card, int x, int y);

// Files dropped on the window since the last frame: over the Case window
// they go into the Case it shows; over a card, the card's Case is opened
// and takes them; elsewhere they are ignored.
void take_drops(MainView& view);

}  // namespace nd
