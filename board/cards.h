// The cards of the shown board as the rest of the board changes them:
// selecting, finding, refreshing after a command changed a Case, taking a
// deleted Case's card off, jumping to a Case, and saving what the board
// shows.
#pragma once

#include "session/view_state.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

// The card showing `ref` on the current board, or -1.
int find_card(const MainView& view, const CaseRef& ref);
// Brings card `index` to the top of the z-order; a previous top card that
// was moved has its board position written back first.
void select_card(MainView& view, int index);
// Reads again what card `index` shows from its record (colour, kind, pin,
// title, form, links) after a command changed the Case.
void refresh_card(MainView& view, int index);
// Takes card `index` off the board after its Case was deleted from the
// store: later cards and slots move down one place, and links follow.
void remove_card(MainView& view, int index);
// Shows the Case: switches boards when it lies on another, pans so that its
// card's top-left lies at (W/2 - 116, H/2 - 50) and selects it.
void jump_to_case(MainView& view, const CaseRef& ref);
// Pans the board so that its origin is at (x, y), clamped.
void set_origin(MainView& view, int x, int y);
// Saves the board shown as leaving it does: the moved cards' positions,
// every card's display order, and the board's view origin.
void save_shown_board(MainView& view);

}  // namespace nd
