// A menu item drawn once per skin: two 210 x 28 pictures, normal and
// highlighted, each with the item's icon and text, which menus then only
// place. The owner renders them again when the skin changes.
#pragma once

#include "gfx/gfx.h"

namespace nd::ui {

inline constexpr int kMenuItemWidth = 210;
inline constexpr int kMenuItemHeight = 28;

struct MenuItemPictures {
    gfx::IMAGE* normal = nullptr;
    gfx::IMAGE* highlighted = nullptr;
    int skin = -1;  // the skin they were drawn in
};

// Draws both pictures for `text` (GBK) with `icon` (null or a missing
// picture for none) in the colours of `skin`, freeing earlier ones.
void render_menu_item(MenuItemPictures* item, const char* text, const gfx::IMAGE* icon, int skin);
void free_menu_item(MenuItemPictures* item);

}  // namespace nd::ui
