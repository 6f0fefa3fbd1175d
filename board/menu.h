// The context menu: built for the object under the pointer from the one
// item table, opened at the pointer, and run through run_command. At most
// one is open.
#pragma once

#include "board/commands.h"
#include "gfx/gfx.h"
#include "gfx/window/window.h"

namespace nd {

// The open menu; `open` false while none is.
struct MenuState {
    bool open = false;
    MenuTarget target;
    gfx::Rect box;
};

// Builds and opens the menu of `object` (a hit code) at (x, y): what a right
// click that did not pan does.
void open_menu_at(MainView& view, int object, int x, int y);
// Builds and opens the menu for a target given in full (a panel's request).
void open_menu(MainView& view, const MenuTarget& target);
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

}  // namespace nd
