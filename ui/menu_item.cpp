#include "ui/menu_item.h"

#include "skins/palette.h"
#include "skins/skin.h"

namespace nd::ui {

namespace {

// 微软雅黑, the face of menus.
constexpr char kFace[] = "\xce\xa2\xc8\xed\xd1\xc5\xba\xda";
constexpr int kTextSize = 15;
constexpr int kIconLeft = 6;
// Items without an icon keep their text in line with those that have one.
constexpr int kTextLeft = 34;

gfx::IMAGE* render(const char* text, const gfx::IMAGE* icon, gfx::Color fill, gfx::Color ink) {
    gfx::IMAGE* image = gfx::new_image(kMenuItemWidth, kMenuItemHeight);
    gfx::set_bk_color(fill, image);
    gfx::clear_image(image);
    gfx::set_bk_mode(gfx::kTransparent, image);
    if (picture_loaded(icon)) {
        gfx::putimage_srcalpha(image, const_cast<gfx::IMAGE*>(icon), kIconLeft,
                               (kMenuItemHeight - icon->height) / 2);
    }
    gfx::set_font(kTextSize, 0, kFace, image);
    gfx::set_color(ink, image);
    gfx::text_out(kTextLeft, (kMenuItemHeight - kTextSize) / 2 - 1, text, image);
    return image;
}

}  // namespace

void render_menu_item(MenuItemPictures* item, const char* text, const gfx::IMAGE* icon, int skin) {
    free_menu_item(item);
    item->normal = render(text, icon, palette_color(kPalPanelBackground, skin),
                          palette_color(kPalPanelText, skin));
    item->highlighted = render(text, icon, palette_color(kPalOptionSelect, skin), 0xFFFFFFFF);
    item->skin = skin;
}

void free_menu_item(MenuItemPictures* item) {
    if (item->normal) gfx::delete_image(item->normal);
    if (item->highlighted) gfx::delete_image(item->highlighted);
    item->normal = nullptr;
    item->highlighted = nullptr;
    item->skin = -1;
}

}  // namespace nd::ui
