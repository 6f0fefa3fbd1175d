// The one command table: every menu item, accelerator letter and shortcut
// ends in run_command with the item's number. A row is a function; each
// later feature fills its rows in commands.cpp (docs/architecture.md says
// how), and a command whose feature is not built yet has no function: it
// does nothing and its menu item shows disabled.
#pragma once

#include "board/hit_codes.h"
#include "session/view_state.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

// What a command acts on: the object the menu was built for (a hit code or
// a MenuObject), the Case it concerns (none for the background and the
// caption strip; {0, group, category, -1} for a category row), the card
// when the object is one, the row of a panel the menu was opened on, the
// point where it was asked for, and for command 53 the colour whose
// reserved-status zone was clicked.
struct MenuTarget {
    int object = kHitBackground;
    CaseRef target;
    int card = -1;
    int row = -1;
    int x = 0;
    int y = 0;
    int colour = -1;
};

inline constexpr int kCommandCount = 60;

// A row of the table: what item `item` does to `target`.
using CommandFn = void (*)(MainView& view, int item, const MenuTarget& target);

// True when item `item` has a command (its feature is built).
bool command_built(int item);

// Runs command `item` (0..59) on `target`; an item without a command, or
// a number outside the table, does nothing.
void run_command(MainView& view, int item, const MenuTarget& target);

}  // namespace nd
