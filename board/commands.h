// The one command table: every menu item, accelerator letter and shortcut
// ends in run_command with the item's number. Each later feature fills its
// rows here; a command whose feature is not built yet does nothing.
#pragma once

#include "board/hit_codes.h"
#include "session/view_state.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

// What a command acts on: the object the menu was built for (a hit code),
// the Case it concerns (none for the background and the caption strip),
// the card when the object is one, the row of a panel the menu was opened
// on, and the point where it was asked for.
struct MenuTarget {
    int object = kHitBackground;
    CaseRef target;
    int card = -1;
    int row = -1;
    int x = 0;
    int y = 0;
};

inline constexpr int kCommandCount = 60;

// Runs command `item` (0..59) on `target`.
void run_command(MainView& view, int item, const MenuTarget& target);

}  // namespace nd
