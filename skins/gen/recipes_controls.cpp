#include <algorithm>
#include <cmath>
#include <string_view>

#include "skins/gen/glyphs.h"
#include "skins/gen/label.h"
#include "skins/gen/recipe_kit.h"

namespace skingen {

// Ink for an icon in the usual four states: rest, hover, pressed, disabled.
uint32_t state_ink(const Theme& t, int state) {
    switch (state) {
        case 1:
            return t.accent;
        case 2:
            return mix(t.accent, t.dark ? 0xFFFFFFFF : 0xFF000000, 0.2f);
        case 3:
            return with_alpha(t.icon, 0x66);
        default:
            return t.icon;
    }
}

void top_button(Ctx& x, Glyph glyph, int look) {
    bool close = glyph == Glyph::kClose;
    if (look == 1 || look == 2) {
        uint32_t plate =
            close ? (look == 1 ? 0xFFE0483E : 0xFFB8372F) : (look == 1 ? x.t.hover : x.t.pressed);
        x.c.paint(rect(0, 0, x.w, x.h), plate);
    }
    uint32_t ink = x.t.icon;
    if (close && look > 0) ink = 0xFFFFFFFF;
    if (look == 3) ink = with_alpha(x.t.icon, 0x60);
    if (!close && look == 2) ink = x.t.dark ? 0xFFFFFFFF : mix(x.t.accent, 0xFF000000, 0.2f);
    draw_glyph(x.c, glyph, x.w / 2, x.h / 2, x.h >= 29 ? 18.0f : 14.0f, ink);
}

void icon_button(Ctx& x) {
    float r = std::min(x.w, x.h) * 0.22f;
    auto plate = round_rect(1, 1, x.w - 1, x.h - 1, r);
    int look = x.state;
    if (x.role.param == 2) look = 0;  // a removal variant is shown at rest with a badge
    if (look == 1) x.c.paint(plate, x.t.hover);
    if (look == 2) x.c.paint(plate, x.t.pressed);
    if (look == 1) x.c.paint(outline(plate, 0.5f), with_alpha(x.t.accent, 0x90));
    float size = std::min(x.w, x.h) * 0.66f;
    uint32_t ink = state_ink(x.t, look);
    if (x.role.glyph == Glyph::kNone) {
        // The bare tool plate behind custom tool content.
        x.c.paint(plate, look ? x.t.pressed : x.t.hover);
        return;
    }
    draw_glyph(x.c, x.role.glyph, x.w / 2, x.h / 2, size, ink);
    if (x.role.param == 2) {
        float br = x.w * 0.2f;
        x.c.paint(circle(x.w - br - 1, x.h - br - 1, br), 0xFFE0524C);
        x.c.paint(segment(x.w - br * 1.6f - 1, x.h - br - 1, x.w - br * 0.4f - 1, x.h - br - 1,
                          std::max(0.8f, br * 0.18f)),
                  0xFFFFFFFF);
    }
}

void wide_button(Ctx& x) {
    bool primary = x.role.param == 1;
    bool bmp = x.role.format == Format::kBmp;
    // Opaque buttons are square so they sit cleanly on any panel.
    if (bmp) x.c.fill(x.t.panel);
    auto plate = bmp ? rect(0, 0, x.w, x.h) : round_rect(1, 1, x.w - 1, x.h - 1, 4);
    uint32_t fill, ink;
    if (primary) {
        fill = x.state == 0 ? x.t.accent
                            : mix(x.t.accent, x.state == 1 ? 0xFFFFFFFF : 0xFF000000, 0.15f);
        ink = x.t.on_accent;
    } else if (x.skin < 0) {
        // Shared buttons carry their own slate plate so they read on the
        // dark and the light pages alike.
        fill = x.state == 0 ? 0xFF4A525C : x.state == 1 ? 0xFF5A636E : 0xFF3A4048;
        ink = 0xFFFFFFFF;
    } else {
        fill = with_alpha(x.t.icon, x.state == 0 ? 0x20 : x.state == 1 ? 0x38 : 0x50);
        ink = x.state == 0 ? x.t.icon : x.t.dark ? 0xFFFFFFFF : mix(x.t.icon, 0xFF000000, 0.3f);
    }
    x.c.paint(plate, fill);
    if (!primary && x.skin >= 0)
        x.c.paint(outline(plate, 0.5f), with_alpha(x.t.icon, x.state ? 0xA0 : 0x60));
    const char* label = label_for(x.role.stem);
    if (!label) {
        draw_glyph(x.c, x.role.glyph, x.w / 2, x.h / 2, x.h * 0.6f, ink);
        return;
    }
    // Icon and caption centred together.
    int size = x.h >= 40 ? 20 : 16;
    float icon = x.h * 0.5f;
    float text = float(label_width(label, size));
    float left = (x.w - icon - 6 - text) / 2;
    draw_glyph(x.c, x.role.glyph, left + icon / 2, x.h / 2, icon, ink);
    draw_label(x.c, label, left + icon + 6, x.h / 2, size, ink);
}

void tab(Ctx& x) {
    bool active = x.state == 1;
    if (x.role.format == Format::kBmp) x.c.fill(x.t.panel);
    if (active) {
        x.c.paint(round_rect(0, 0, x.w, x.h + 4, 4), x.t.hover);
        x.c.paint(rect(6, x.h - 2.5f, x.w - 6, x.h), x.t.accent);
    }
    draw_glyph(x.c, x.role.glyph, x.w / 2, x.h / 2 - 1, x.h * 0.62f,
               active ? x.t.accent : with_alpha(x.t.icon, 0xC0));
}

void corner(Ctx& x, uint32_t inside, uint32_t frame) {
    // States: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right. The
    // square outside the rounding is the page colour the panel sits on.
    float cx = (x.state == 0 || x.state == 2) ? x.w : 0;
    float cy = (x.state == 0 || x.state == 1) ? x.h : 0;
    x.c.fill(x.t.page);
    x.c.paint(circle(cx, cy, x.w - 0.5f), inside);
    x.c.paint(ring(cx, cy, x.w - 1.0f, 0.5f), frame);
}

void cap(Ctx& x) {
    // Caps round the ends of a title card: 0 left, 1 right, 2 and 3 the same
    // for the card under the pointer.
    uint32_t col = status_color(x.role.param);
    if (x.state >= 2) col = mix(col, 0xFFFFFFFF, 0.18f);
    bool left = x.state % 2 == 0;
    float r = 4.5f;
    auto body = left ? round_rect(0, 0, x.w + r + 2, x.h, r) : round_rect(-r - 2, 0, x.w, x.h, r);
    x.c.paint(body, col);
    x.c.paint(left ? rect(0, 0, 2.5f, x.h) : rect(x.w - 2.5f, 0, x.w, x.h),
              mix(col, 0xFF000000, 0.18f), 0.0f);
}

void switch_toggle(Ctx& x, bool on, uint32_t on_color) {
    auto track = round_rect(1, 1, x.w - 1, x.h - 1, (x.h - 2) / 2);
    float r = (x.h - 2) / 2 - 2.5f;
    if (on) {
        x.c.paint(track, on_color);
        x.c.paint(circle(x.w - 1 - (x.h - 2) / 2, x.h / 2, r), 0xFFFFFFFF);
    } else {
        x.c.paint(track, with_alpha(x.t.icon, 0x30));
        x.c.paint(outline(track, 0.6f), with_alpha(x.t.icon, 0xA0));
        x.c.paint(circle(1 + (x.h - 2) / 2, x.h / 2, r), x.t.icon);
    }
}

void row(Ctx& x) {
    // List rows are opaque bands on the bar colour. The highlighted one is
    // tinted with the accent just enough to keep the row's text readable:
    // white text on the dark skins, black on the light ones.
    bool hot = x.role.param == 1 || x.state == 1;
    if (x.role.format == Format::kBmp) x.c.fill(x.t.panel);
    if (x.role.param == 2) {
        x.c.paint(round_rect(0, 0, x.w, x.h, 6), with_alpha(x.t.accent, 0x40));
        x.c.paint(rect(0, 8, 3, x.h - 8), x.t.accent);
        return;
    }
    if (hot) {
        x.c.paint(rect(0, 0, x.w, x.h), mix(x.t.panel, x.t.accent, x.t.dark ? 0.38f : 0.2f));
        x.c.paint(rect(0, 0, 3, x.h), x.t.accent);
    } else {
        x.c.paint(rect(8, x.h - 1, x.w - 8, x.h), with_alpha(x.t.rule, 0x60));
    }
}

void status_dot(Ctx& x) {
    // Rows without a fixed colour carry the colour class in the state:
    // 0 grey, 1 green, 2 red, 3 yellow; the fifth close button (99) is neutral.
    uint32_t index = x.role.param ? x.role.param : uint32_t(x.state < 4 ? x.state : 0);
    float r = std::min(x.w, x.h) / 2 - 0.5f;
    float cx = x.w / 2, cy = x.h / 2;
    if (x.role.param == 9) {
        for (int i = 0; i < 4; ++i) {
            float a0 = -1.5708f + float(i) * 1.5708f;
            x.c.paint(intersect(circle(cx, cy, r),
                                polygon({cx, cy, cx + 30 * std::cos(a0), cy + 30 * std::sin(a0),
                                         cx + 30 * std::cos(a0 + 1.5708f),
                                         cy + 30 * std::sin(a0 + 1.5708f)})),
                      status_color(uint32_t(i)));
        }
        return;
    }
    bool neutral = std::string_view(x.role.stem) == "PICK_CLOSE" && x.state == 4;
    uint32_t col = neutral ? 0xFF5A6470 : status_color(index);
    bool badge = std::string_view(x.role.stem).starts_with("STATUS_");
    if (badge) {
        // Card badges sit on the card's own status colour: a white rim keeps
        // them apart from it.
        x.c.paint(circle(cx, cy, r), 0xFFFFFFFF);
        r -= 1.2f;
    }
    x.c.paint(circle(cx, cy, r), col);
    if (x.role.glyph != Glyph::kNone)
        draw_glyph(x.c, x.role.glyph, cx, cy, r * 1.5f, index == kYellow ? 0xFF3A2E00 : 0xFFFFFFFF);
}

void checkbox(Ctx& x) {
    bool on = x.state % 2 == 1;
    bool dark_bg = x.state >= 2;
    uint32_t ink = dark_bg ? 0xFFD4DADF : 0xFF4A5058;
    auto box = round_rect(1.5f, 1.5f, x.w - 1.5f, x.h - 1.5f, 3);
    if (on) {
        x.c.paint(box, 0xFF2F8FDD);
        draw_glyph(x.c, Glyph::kCheck, x.w / 2, x.h / 2, x.w * 0.9f, 0xFFFFFFFF);
    } else {
        x.c.paint(box, dark_bg ? 0x20FFFFFF : 0xFFFFFFFF);
        x.c.paint(outline(box, 0.6f), ink);
    }
}

void spinner(Ctx& x) {
    for (int i = 0; i < 8; ++i) {
        float a = float(i) * 0.785398f;
        int age = (i - x.state * 3 + 16) % 8;
        float cx = x.w / 2 + 8 * std::cos(a), cy = x.h / 2 + 8 * std::sin(a);
        x.c.paint(circle(cx, cy, 2.1f), x.t.accent, 0.2f + 0.8f * float(age) / 7.0f);
    }
}

void slot(Ctx& x) {
    auto box = round_rect(2, 2, x.w - 2, x.h - 2, 6);
    if (x.state == 1) {
        x.c.paint(box, with_alpha(x.t.accent, 0x50));
        x.c.paint(outline(box, 0.75f), x.t.accent);
        draw_glyph(x.c, Glyph::kCard, x.w / 2, x.h / 2, x.w * 0.6f, x.t.accent);
    } else {
        for (int i = 0; i < 16; ++i) {
            // A dashed outline marks an empty slot.
            float t0 = float(i) / 16, t1 = t0 + 0.035f;
            auto along = [&](float t, float& px, float& py) {
                float per = 4 * (x.w - 4);
                float d = t * per, side = x.w - 4;
                if (d < side) {
                    px = 2 + d;
                    py = 2;
                } else if (d < 2 * side) {
                    px = x.w - 2;
                    py = 2 + d - side;
                } else if (d < 3 * side) {
                    px = x.w - 2 - (d - 2 * side);
                    py = x.h - 2;
                } else {
                    px = 2;
                    py = x.h - 2 - (d - 3 * side);
                }
            };
            float ax, ay, bx, by;
            along(t0, ax, ay);
            along(t1, bx, by);
            x.c.paint(segment(ax, ay, bx, by, 0.75f), with_alpha(x.t.icon, 0x90));
        }
    }
}

}  // namespace skingen
