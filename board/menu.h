// The context menu: built for the object under the pointer from the one
// item table, opened at the pointer, and run through run_command. At most
// one is open.
#pragma once

#include <array>

#include "board/commands.h"
#include "board/menu_build.h"
#include "board/menu_items.h"
#include "gfx/gfx.h"
#include "gfx/window/window.h"

namespace nd {

// A newer release offered by the update check: item 55 shows its version.
// The update check sets it; until it exists nothing is offered.
struct OfferedUpdate {
    bool offered = false;
    int major = 0;
    int minor = 0;
    int patch = 0;
};

// The open menu; `open` false while none is.
struct MenuState {
    bool open = false;
    MenuTarget target;
    gfx::Rect box;
    std::array<MenuEntry, kMenuRoom> entries{};
    int count = 0;
    int hovered = -1;         // the entry under the pointer
    int hot_colour = -1;      // the colour of the reserved-status zone under the pointer
    int pressed = -1;         // the entry a left press fell on, until the release
    int pressed_colour = -1;  // and the zone's colour when it fell on one
    bool pointer_inside = false;
    int alpha = 0;                     // the menu's, fading in
    int hover_alpha = 0;               // the hovered item's highlight
    int case_colour = -1;              // the target Case's colour, checked on its row
    int case_reserved = -1;            // and its reserved colour
    gfx::IMAGE* background = nullptr;  // drawn at the menu's size when it opens
    MenuPictures pictures;
    OfferedUpdate update;
};

// Builds and opens the menu of `object` (a hit code) at (x, y): what a right
// click that did not pan does. Panels ask for their rows' menus with a
// request instead.
void open_menu_at(MainView& view, int object, int x, int y);
// Builds and opens the menu for a target given in full (a panel's
// kContextMenu request).
void open_menu(MainView& view, const MenuTarget& target);
// The target of the object with hit code `hit` at (x, y): the card's Case,
// the selected Case for the top bar's buttons. False for objects without a
// menu of the board's (panels, the grip, empty top bar).
bool menu_target_at(const MainView& view, int hit, int x, int y, MenuTarget* out);
// The command a shortcut runs on `target` without showing the menu (request
// 1 link, 2 sorting view, 3 assessment), or -1 when its menu has none.
int menu_direct_command(MainView& view, const MenuTarget& target, int request);
void close_menu(MainView& view);
bool menu_is_open(const MainView& view);

// A pointer message while the menu is open; true when the menu used it (a
// click on an item or anywhere else, which closes it).
bool menu_pointer(MainView& view, const gfx::MouseMsg& msg);
// A typed character while the menu is open: its accelerator.
void menu_key(MainView& view, int character);
// Once a frame: fade and hover alphas. True while they still change, so the
// board draws again.
bool menu_animate(MainView& view);
void draw_menu(const MainView& view, gfx::IMAGE* canvas);
// Renders the item pictures again for the current skin.
void menu_skin_changed(MainView& view);
// Frees the item pictures.
void free_menu(MainView& view);

// The update check's seam: a newer release to show on item 55.
void set_offered_update(MainView& view, const OfferedUpdate& update);

}  // namespace nd
