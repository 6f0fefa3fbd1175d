#include "skins/gen/theme.h"

#include "skins/gen/canvas.h"
#include "skins/palette.h"

namespace skingen {

Theme theme_for(int skin) {
    if (skin < 0) {
        // Shared pictures sit on every skin's background: a mid-tone ink and
        // translucent plates keep them readable on dark and light pages.
        return {false,      0xFF5A5C50, 0xFF2B2E33, 0xFF8A929A, 0xFF262A2F, 0xFFE6E8EA,
                0xFF2F8FDD, 0xFF8E979F, 0x388E979F, 0x608E979F, 0xFFFFFFFF};
    }
    Theme t{};
    t.dark = skin == 0 || skin == 2;
    t.page = nd::palette_color(nd::kPalPageBackground, skin);
    t.top = nd::palette_color(nd::kPalTopBar, skin);
    t.rule = nd::palette_color(nd::kPalOptionRule, skin);
    t.panel = nd::palette_color(nd::kPalPanelBackground, skin);
    t.text = nd::palette_color(nd::kPalPanelText, skin);
    static const uint32_t accents[4] = {0xFFC2A14A, 0xFFC8745C, 0xFF4C9AD0, 0xFF0078D7};
    static const uint32_t inks[4] = {0xFFCFCFC0, 0xFF6A4B40, 0xFFD4E2EA, 0xFF3C4248};
    t.accent = accents[skin];
    t.icon = inks[skin];
    t.hover = with_alpha(t.dark ? 0xFFFFFFFF : t.text, t.dark ? 0x22 : 0x16);
    t.pressed = with_alpha(t.accent, 0x55);
    t.on_accent = skin == 0 ? 0xFF161713 : 0xFFFFFFFF;
    return t;
}

uint32_t status_color(uint32_t index) {
    static const uint32_t colors[6] = {0xFF8F949A, 0xFF34B36E, 0xFFE0524C,
                                       0xFFE8B526, 0xFF3C8DD8, 0xFF2A2D31};
    return colors[index < 6 ? index : 0];
}

}  // namespace skingen
