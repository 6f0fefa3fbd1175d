// The design colours of each skin, taken from the palette where it has them
// and chosen to match where it does not, so every picture of one skin shares
// one accent, one icon ink and one set of hover and pressed plates.
#pragma once

#include <cstdint>

namespace skingen {

struct Theme {
    bool dark;
    uint32_t page;       // page background
    uint32_t top;        // top bar
    uint32_t rule;       // rule lines
    uint32_t panel;      // panel background
    uint32_t text;       // panel text
    uint32_t accent;     // selection and primary actions
    uint32_t icon;       // icon ink at rest
    uint32_t hover;      // plate under a hovered control
    uint32_t pressed;    // plate under a pressed control
    uint32_t on_accent;  // ink on an accent plate
};

// Skin 0..3, or -1 for the shared pictures.
Theme theme_for(int skin);

// Status colours: grey, green, red, yellow, blue, near-black.
uint32_t status_color(uint32_t index);

}  // namespace skingen
