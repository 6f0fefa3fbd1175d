// Which items the menu of each object offers, and where they lie: pure
// functions of the object and a few facts about it, so every menu of the
// object table can be checked as a table.
#pragma once

#include "gfx/rect.h"

namespace nd {

inline constexpr int kMenuWidth = 220;
inline constexpr int kMenuPadding = 5;  // from the box to the first item, and below the last
inline constexpr int kMenuItemStep = 28;
inline constexpr int kMenuSeparatorStep = 35;  // to an item with a separator above it
inline constexpr int kMenuSeparatorLength = 209;
inline constexpr int kMenuSeparatorAbove = 4;  // the line lies this far above its item
inline constexpr int kMenuRoom = 60;

struct MenuEntry {
    int item = -1;
    bool separator = false;  // a line above this entry
    bool enabled = true;
    int x = 0;  // the item's top-left on the screen
    int y = 0;
};

// What an object's menu depends on besides the object.
struct MenuFacts {
    int card_form = 1;    // the card's form as shown (CaseForm); only title cards have a menu
    bool pinned = false;  // the Case is pinned
    bool first_category = false;  // the current category is the first (index 0)
    bool password_set = false;    // the workspace has a lock password
    int categories = 1;           // categories of the current group
    // For a category row: the row's category is the current one, is the
    // first, and holds Cases.
    bool category_current = false;
    bool category_first = false;
    bool category_has_cases = false;
    bool clipboard_has_data = false;  // for pasting in the content editor
};

// Fills `out` (room for kMenuRoom entries) with the menu of `object` (a
// hit code or a MenuObject) and returns the number of entries; 0 when the
// object has no menu. Every entry is enabled when its command is built.
int build_menu_entries(int object, const MenuFacts& facts, MenuEntry* out);

// Lays the entries out for a menu opened at (x, y) in a window of
// width x height, shifted up and left so that it lies wholly inside, and
// returns the menu's box.
gfx::Rect place_menu(MenuEntry* entries, int count, int x, int y, int width, int height);

}  // namespace nd
