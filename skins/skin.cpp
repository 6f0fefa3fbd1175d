#include "skins/skin.h"

#include <cassert>

#include "skins/palette.h"

namespace nd {
namespace {

int g_current = kSkinBlack;
int g_last_loaded = -1;
SkinHooks g_hooks;

}  // namespace

uint8_t skin_from_stored(uint8_t stored) {
    if (stored == kSkinCake) return kSkinStars;
    return stored < kSkinCount ? stored : uint8_t(kSkinBlack);
}

void set_skin_hooks(const SkinHooks& hooks) {
    g_hooks = hooks;
}

int current_skin() {
    return g_current;
}

int last_loaded_skin() {
    return g_last_loaded;
}

void set_current_skin(int skin) {
    assert(skin >= 0 && skin < kSkinCount);
    g_current = skin;
}

int switch_skin(int skin) {
    if (skin < 0 || skin >= kSkinCount) return kSkinBadIndex;
    gfx::Color page = palette_color(kPalPageBackground, skin);
    if (g_hooks.board) gfx::set_bk_color(page, g_hooks.board);
    if (skin == g_current || (g_hooks.loading && g_hooks.loading())) return kSkinUnchanged;
    g_current = skin;
    if (g_hooks.store) g_hooks.store(uint8_t(skin));
    if (gfx::IMAGE* screen = gfx::screen_page()) {
        gfx::set_fill_color(page, screen);
        gfx::set_bk_color(page, screen);
    }
    if (g_hooks.rebuild) g_hooks.rebuild();
    g_last_loaded = skin;
    return kSkinSwitched;
}

int reload_on_change(SkinPictures* pictures, const char (*names)[32], int count) {
    if (count < 0 || count > kSkinPictureRoom) return kPicturesTooMany;
    if (pictures->skin == g_current && pictures->count == count) return kPicturesKept;
    free_skin_pictures(pictures);
    for (int i = 0; i < count; ++i) {
        pictures->images[i] = gfx::new_image(1, 1);
        gfx::getimage(pictures->images[i], "IMGS", names[i], 0, 0);
    }
    pictures->count = count;
    pictures->skin = g_current;
    return kPicturesReloaded;
}

bool picture_loaded(const gfx::IMAGE* image) {
    return image && (image->width > 1 || image->height > 1);
}

void free_skin_pictures(SkinPictures* pictures) {
    for (int i = 0; i < pictures->count; ++i) {
        if (pictures->images[i]) gfx::delete_image(pictures->images[i]);
        pictures->images[i] = nullptr;
    }
    pictures->count = 0;
    pictures->skin = -1;
}

}  // namespace nd
