// The menu item table: the 60 numbered items every context menu is made
// of, each with its text, its accelerator letter and its icon, and their
// pictures, drawn once per skin with the ui/ menu item.
#pragma once

#include <array>

#include "board/commands.h"
#include "skins/skin.h"
#include "ui/menu_item.h"

namespace nd {

// Item numbers that have a meaning of their own beyond their row.
inline constexpr int kItemNewCase = 5;
inline constexpr int kItemLock = 7;
inline constexpr int kItemPin = 13;
inline constexpr int kItemGreen = 15;  // 15..18 are the colour rows
inline constexpr int kItemGrey = 18;
inline constexpr int kItemLink = 20;
inline constexpr int kItemSort = 21;
inline constexpr int kItemKindNone = 25;     // 25..29 kinds
inline constexpr int kItemImportance1 = 30;  // 30..34
inline constexpr int kItemAssess = 37;
inline constexpr int kItemDifficulty0 = 39;    // 39..41
inline constexpr int kItemCognition0 = 42;     // 42..44
inline constexpr int kItemReserveStatus = 53;  // run from the colour rows only
inline constexpr int kItemUpdateNote = 55;
inline constexpr int kItemCompact = 56;  // 56..59 arrangements

// Where an item's icon comes from.
enum class IconSource { kNone, kMenuIcon, kShared, kSmallLogo };

// Pictures every skin shares that menus draw: the status dots of the colour
// rows, the two link relations, and the colour rows' marks for the Case's
// colour and for its reserved colour.
enum SharedMenuPicture : int {
    kDotGrey,
    kDotGreen,
    kDotRed,
    kDotYellow,
    kLinkFar,
    kLinkNear,
    kColourMark,
    kReservedMark,
    kSharedMenuPictureCount,
};

struct MenuItemSpec {
    const char* text = nullptr;  // GBK; null for a number no item has (22, 38, 53)
    char letter = 0;             // accelerator letter, lower case; 0 for none
    IconSource icon = IconSource::kNone;
    int icon_index = -1;  // pic::MenuIcon for kMenuIcon, SharedMenuPicture for kShared
};

const MenuItemSpec& menu_item_spec(int item);

// The colour class a colour row sets: 15 green 1, 16 red 2, 17 yellow 3,
// 18 grey 0; -1 for any other item.
constexpr int colour_of_item(int item) {
    return item >= kItemGreen && item <= kItemGrey ? (item - kItemGreen + 1) % 4 : -1;
}

// The pictures of every item and the icons they are drawn with, for one
// skin. Rendered the first time a menu opens in a skin.
struct MenuPictures {
    std::array<ui::MenuItemPictures, kCommandCount> items{};
    SkinPictures menu_icons;  // AUTOMENU_*; the CAKE row names the BLACK pictures
    SkinPictures logos;       // ABOUT_LOGO, ABOUT_LOGO_SMALL
    SkinPictures corners;     // AUTOMENU_MARGIN_0..3
    std::array<gfx::IMAGE*, kSharedMenuPictureCount> shared{};  // loaded once
    int skin = -1;
};

// Renders every item for the current skin unless that is done already.
void render_menu_pictures(MenuPictures* pictures);
void free_menu_pictures(MenuPictures* pictures);

}  // namespace nd
