#include "app/skins/gen/recipes.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "app/skins/gen/label.h"
#include "app/skins/gen/theme.h"

namespace skingen {
namespace {

struct Ctx {
    Canvas& c;
    const Role& role;
    int state;
    int skin;
    Theme t;
    float w, h;
};

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
    if (!primary && x.skin >= 0) x.c.paint(outline(plate, 0.5f), with_alpha(x.t.icon, x.state ? 0xA0 : 0x60));
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

void theme_tile(Ctx& x) {
    // A miniature of the whole window in skin `state`: top bar, left bar and
    // three cards on the page.
    Theme s = theme_for(x.state);
    x.c.fill(s.page);
    x.c.paint(rect(0, 0, x.w, 9), s.top);
    x.c.paint(rect(0, 9, 24, x.h - 0), s.panel, 0.9f);
    for (int i = 0; i < 4; ++i)
        x.c.paint(rect(4, 14 + 8 * float(i), 20, 17 + 8 * float(i)), s.icon, 0.5f);
    const uint32_t cards[3] = {status_color(kGreen), status_color(kRed), status_color(kYellow)};
    const float pos[3][2] = {{34, 17}, {62, 26}, {40, 40}};
    for (int i = 0; i < 3; ++i)
        x.c.paint(round_rect(pos[i][0], pos[i][1], pos[i][0] + 28, pos[i][1] + 8, 4), cards[i]);
    x.c.paint(segment(62, 21, 62, 26, 0.5f), s.icon);
    for (int i = 0; i < 3; ++i)
        x.c.paint(circle(x.w - 8 - 6 * float(i), 4.5f, 1.6f), i == 0 ? 0xFFE0524C : s.icon);
    x.c.paint(outline(rect(0, 0, x.w, x.h), 0.5f), with_alpha(s.rule, 0xC0));
}

void row(Ctx& x) {
    // List rows are opaque bands on the bar colour; the selected and hovered
    // ones carry an accent edge.
    bool hot = x.role.param == 1 || x.state == 1;
    if (x.role.format == Format::kBmp) x.c.fill(x.t.panel);
    if (x.role.param == 2) {
        x.c.paint(round_rect(0, 0, x.w, x.h, 6), with_alpha(x.t.accent, 0x40));
        x.c.paint(rect(0, 8, 3, x.h - 8), x.t.accent);
        return;
    }
    if (hot) {
        x.c.paint(rect(0, 0, x.w, x.h), x.t.hover);
        x.c.paint(rect(0, 0, 3, x.h), x.t.accent);
    }
    x.c.paint(rect(12, x.h - 1, x.w - 12, x.h), with_alpha(x.t.rule, 0x60));
    if (x.role.glyph != Glyph::kNone)
        draw_glyph(x.c, x.role.glyph, 22, x.h / 2, 18,
                   hot ? x.t.accent : with_alpha(x.t.icon, 0xB0));
}

void logo(Ctx& x) {
    // The product mark: a rounded square holding three cards joined by the
    // board's own orthogonal connector.
    uint32_t accent = x.skin < 0 ? 0xFF2F8FDD : x.t.accent;
    float s = std::min(x.w, x.h);
    float k = s / 24;
    x.c.paint(round_rect(0.5f, 0.5f, s - 0.5f, s - 0.5f, 5 * k), accent);
    uint32_t ink = x.skin == 0 ? 0xFF161713 : 0xFFFFFFFF;
    float hw = std::max(0.6f, 0.8f * k);
    x.c.paint(segment(12 * k, 9 * k, 12 * k, 12.5f * k, hw), ink);
    x.c.paint(segment(6.5f * k, 12.5f * k, 17.5f * k, 12.5f * k, hw), ink);
    x.c.paint(segment(6.5f * k, 12.5f * k, 6.5f * k, 15 * k, hw), ink);
    x.c.paint(segment(17.5f * k, 12.5f * k, 17.5f * k, 15 * k, hw), ink);
    x.c.paint(round_rect(6.5f * k, 4 * k, 17.5f * k, 9.5f * k, 1.8f * k), ink);
    x.c.paint(round_rect(2.5f * k, 15 * k, 10.5f * k, 20 * k, 1.8f * k), ink);
    x.c.paint(round_rect(13.5f * k, 15 * k, 21.5f * k, 20 * k, 1.8f * k), ink);
    if (s >= 40) {
        // Larger marks show the status colours on the cards.
        x.c.paint(circle(8.5f * k, 6.75f * k, 1.1f * k), status_color(kGreen));
        x.c.paint(circle(4.5f * k, 17.5f * k, 1.1f * k), status_color(kRed));
        x.c.paint(circle(15.5f * k, 17.5f * k, 1.1f * k), status_color(kYellow));
    }
    if (x.role.param == 1) {
        // The version badge: a "6" drawn as a ring with a rising stroke.
        x.c.paint(circle(19 * k, 19 * k, 5 * k), 0xFFE0524C);
        x.c.paint(ring(19 * k, 20.2f * k, 1.9f * k, 0.6f * k), 0xFFFFFFFF);
        x.c.paint(arc(21 * k, 20.2f * k, 3.9f * k, 0.6f * k, 3.14159f, 4.3f), 0xFFFFFFFF);
    }
}

void robot(Ctx& x) {
    // The mascot: a round-headed robot with an antenna; the update robot
    // holds an up arrow, the about robot an info mark.
    float s = std::min(x.w, x.h), k = s / 24;
    uint32_t body = 0xFF9AA7B2, face = 0xFF2A2F36, eye = 0xFF6FD3FF;
    x.c.paint(segment(12 * k, 2.5f * k, 12 * k, 5 * k, 0.5f * k), body);
    x.c.paint(circle(12 * k, 2.3f * k, 1.3f * k), 0xFFE0524C);
    x.c.paint(round_rect(4 * k, 5 * k, 20 * k, 14 * k, 4 * k), body);
    x.c.paint(round_rect(6 * k, 7 * k, 18 * k, 12.5f * k, 2.8f * k), face);
    x.c.paint(circle(9.3f * k, 9.8f * k, 1.3f * k), eye);
    x.c.paint(circle(14.7f * k, 9.8f * k, 1.3f * k), eye);
    x.c.paint(round_rect(6.5f * k, 15 * k, 17.5f * k, 22.5f * k, 2.5f * k), body);
    x.c.paint(circle(12 * k, 18.7f * k, 1.7f * k), eye);
    x.c.paint(segment(5 * k, 16.5f * k, 3 * k, 20 * k, 1.1f * k), body);
    x.c.paint(segment(19 * k, 16.5f * k, 21 * k, 20 * k, 1.1f * k), body);
    if (x.role.glyph != Glyph::kNone) {
        x.c.paint(circle(19.5f * k, 19.5f * k, 3.8f * k), 0xFF2F8FDD);
        draw_glyph(x.c, x.role.glyph, 19.5f * k, 19.5f * k, 6 * k, 0xFFFFFFFF);
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
    x.c.paint(circle(cx, cy, r), col);
    if (x.role.glyph != Glyph::kNone)
        draw_glyph(x.c, x.role.glyph, cx, cy, r * 1.5f, index == kYellow ? 0xFF3A2E00 : 0xFFFFFFFF);
}

void progress(Ctx& x) {
    x.c.fill(0xFF272727);
    x.c.paint(round_rect(4, 9, x.w - 4, x.h - 9, 6), 0xFF3A3D42);
    x.c.paint_gradient(round_rect(4, 9, x.w * 0.62f, x.h - 9, 6), 0xFF5DB2F0, 0xFF2F8FDD);
}

void stars(Ctx& x) {
    int filled = int(x.role.param) + 1;
    for (int i = 0; i < 5; ++i) {
        float cx = 8 + 16 * float(i);
        if (i < filled)
            draw_glyph(x.c, Glyph::kStar, cx, 8, 15, 0xFFF0B429);
        else
            draw_glyph(x.c, Glyph::kStar, cx, 8, 15, 0x508E979F);
    }
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

void banner(Ctx& x) {
    x.c.fill(x.t.panel);
    x.c.paint_gradient(rect(0, 0, x.w, x.h), mix(x.t.panel, x.t.accent, 0.35f), x.t.panel);
    x.c.paint(rect(0, x.h - 2, x.w, x.h), x.t.accent);
    Role mark{"", "", 32, 32, 1, Format::kPng, Recipe::kLogo, Glyph::kNone, 0};
    Canvas m = draw_picture(mark, 0, x.skin);
    for (int yy = 0; yy < 32; ++yy)
        for (int xx = 0; xx < 32; ++xx) {
            uint32_t p = m.at(xx, yy);
            x.c.paint(rect(float(12 + xx), float(8 + yy), float(13 + xx), float(9 + yy)),
                      p | 0xFF000000, float(p >> 24) / 255.0f);
        }
}

void feature(Ctx& x) {
    // A small board: three cards in status colours joined by orthogonal
    // links, with a timeline along the bottom.
    auto card = [&](float cx, float cy, uint32_t col) {
        x.c.paint(round_rect(cx - 38, cy - 13, cx + 38, cy + 13, 6), col);
        x.c.paint(round_rect(cx - 28, cy - 2.5f, cx + 22, cy + 2.5f, 2.5f), 0xFFFFFFFF, 0.8f);
    };
    uint32_t line = 0xFF8E979F;
    x.c.paint(round_rect(0.5f, 0.5f, x.w - 0.5f, x.h - 0.5f, 12), 0x1E8E979F);
    x.c.paint(segment(60, 60, 60, 95, 1.2f), line);
    x.c.paint(segment(60, 95, 120, 95, 1.2f), line);
    x.c.paint(segment(120, 95, 120, 130, 1.2f), line);
    x.c.paint(segment(60, 95, 60, 160, 1.2f), line);
    card(60, 47, status_color(kGreen));
    card(120, 143, status_color(kYellow));
    card(60, 173, status_color(kRed));
    x.c.paint(segment(20, 215, x.w - 20, 215, 1.0f), line);
    const uint32_t dots[4] = {kGreen, kRed, kYellow, kGreen};
    for (int i = 0; i < 4; ++i)
        x.c.paint(circle(35 + 37 * float(i), 215, 4.5f), status_color(dots[i]));
    draw_glyph(x.c, Glyph::kPin, 98, 28, 18, 0xFFE0524C);
}

}  // namespace

Canvas draw_picture(const Role& role, int state, int skin) {
    Canvas canvas(role.width, role.height);
    Ctx x{canvas, role, state, skin, theme_for(skin), float(role.width), float(role.height)};
    switch (role.recipe) {
        case Recipe::kTopButton:
            top_button(x, role.glyph, state);
            break;
        case Recipe::kTopMax:
            top_button(x, state < 3 ? Glyph::kMaximize : Glyph::kRestore, state % 3);
            break;
        case Recipe::kIconButton:
            icon_button(x);
            break;
        case Recipe::kWideButton:
            wide_button(x);
            break;
        case Recipe::kTab:
            tab(x);
            break;
        case Recipe::kIcon: {
            uint32_t ink = state_ink(x.t, state);
            if (role.param == 1) ink = 0xFF3C4248;  // for light skins
            if (role.param == 2) ink = 0xFFE6E8EA;  // for dark skins
            draw_glyph(canvas, role.glyph, x.w / 2, x.h / 2, std::min(x.w, x.h), ink);
            break;
        }
        case Recipe::kMenuIcon: {
            uint32_t ink = skin < 0 ? 0xFF2F8FDD : x.t.accent;
            if (role.param == 1) ink = with_alpha(ink, 0x99);
            draw_glyph(canvas, role.glyph, x.w / 2, x.h / 2, std::min(x.w, x.h) * 0.9f, ink);
            break;
        }
        case Recipe::kStrip:
            if (role.param == 0) {
                canvas.fill(state == 1 ? mix(x.t.top, x.t.accent, 0.18f) : x.t.top);
                canvas.paint(rect(0, x.h - 1, x.w, x.h), x.t.dark ? 0xFF000000 : x.t.rule, 0.6f);
            } else {
                canvas.fill(0xFF3A3D42);
                canvas.paint(rect(role.param == 1 ? 0 : x.w - 3, 0, role.param == 1 ? 3 : x.w, x.h),
                             0xFF2F8FDD);
            }
            break;
        case Recipe::kRule:
            canvas.fill(role.param == 1   ? mix(x.t.rule, x.t.page, 0.3f)
                        : role.param == 2 ? (state == 1 ? x.t.accent : x.t.rule)
                                          : x.t.rule);
            break;
        case Recipe::kCorner:
            corner(x, x.t.panel, with_alpha(x.t.rule, 0xA0));
            break;
        case Recipe::kCardCorner:
            corner(x, x.t.dark ? mix(x.t.panel, 0xFFFFFFFF, 0.06f) : 0xFFFFFFFF, x.t.rule);
            break;
        case Recipe::kCap:
            cap(x);
            break;
        case Recipe::kSwitch:
            switch_toggle(x, role.param == 1, x.t.accent);
            break;
        case Recipe::kColorSwitch: {
            uint32_t col = status_color(role.param);
            auto plate = round_rect(3, 3, x.w - 3, x.h - 3, 10);
            if (state == 1) {
                canvas.paint(plate, col);
                draw_glyph(canvas, role.glyph, x.w / 2, x.h / 2, 30,
                           role.param == kYellow ? 0xFF3A2E00 : 0xFFFFFFFF);
            } else {
                canvas.paint(plate, with_alpha(col, 0x26));
                canvas.paint(outline(plate, 1.0f), with_alpha(col, 0xC0));
                draw_glyph(canvas, role.glyph, x.w / 2, x.h / 2, 30, with_alpha(col, 0xC0));
            }
            break;
        }
        case Recipe::kThemeTile:
            theme_tile(x);
            break;
        case Recipe::kRow:
            row(x);
            break;
        case Recipe::kPreview:
            canvas.fill(x.t.panel);
            canvas.paint(round_rect(0, 1, x.w, x.h - 1, 2.5f), with_alpha(x.t.icon, 0x30));
            canvas.paint(round_rect(0, 1, x.w * 0.4f, x.h - 1, 2.5f), status_color(kGreen),
                         state ? 1.0f : 0.75f);
            canvas.paint(rect(x.w * 0.4f, 1, x.w * 0.55f, x.h - 1), status_color(kRed),
                         state ? 1.0f : 0.75f);
            canvas.paint(rect(x.w * 0.55f, 1, x.w * 0.65f, x.h - 1), status_color(kYellow),
                         state ? 1.0f : 0.75f);
            break;
        case Recipe::kStatusDot:
            status_dot(x);
            break;
        case Recipe::kPoint:
            if (role.glyph == Glyph::kNone || x.w <= 6)
                canvas.paint(circle(x.w / 2, x.h / 2, x.w / 2 - 0.5f),
                             skin < 0 ? 0xFF2F8FDD : x.t.accent);
            else if (role.glyph == Glyph::kArrowUp)
                canvas.paint(polygon({0.5f, x.h - 1.5f, x.w - 0.5f, x.h - 1.5f, x.w / 2, 1.5f}),
                             skin < 0 ? 0xFF2F8FDD : x.t.accent);
            else if (role.glyph == Glyph::kShield)
                canvas.paint(polygon({x.w / 2, 0.5f, x.w - 0.5f, x.h / 2, x.w / 2, x.h - 0.5f, 0.5f,
                                      x.h / 2}),
                             status_color(kYellow));
            else
                canvas.paint(polygon({1.5f, 0.5f, x.w - 1, x.h / 2, 1.5f, x.h - 0.5f}),
                             skin < 0 ? 0xFF2F8FDD : x.t.accent);
            break;
        case Recipe::kLogo:
            logo(x);
            break;
        case Recipe::kRobot:
            robot(x);
            break;
        case Recipe::kProgress:
            progress(x);
            break;
        case Recipe::kStars:
            stars(x);
            break;
        case Recipe::kCounter:
            canvas.paint(round_rect(0.5f, 0.5f, x.w - 0.5f, x.h - 0.5f, x.h / 2 - 0.5f),
                         state ? 0xFFE0524C : 0xFF6F7780);
            break;
        case Recipe::kCheckbox:
            checkbox(x);
            break;
        case Recipe::kTrack:
            if (skin < 0) {
                canvas.fill(0xFF30343A);
                canvas.paint(round_rect(0, 2, x.w, x.h - 2, 3), status_color(uint32_t(state)),
                             0.85f);
            } else {
                canvas.fill(x.t.top);
                canvas.paint(round_rect(0, 1.5f, x.w, x.h - 1.5f, 1.5f),
                             with_alpha(x.t.icon, 0x50));
            }
            break;
        case Recipe::kKnob: {
            uint32_t ink = skin < 0 ? 0xFFFFFFFF : x.t.accent;
            auto knob = role.param == 1 ? circle(x.w / 2, x.h / 2, x.w / 2 - 0.5f)
                                        : round_rect(0.5f, 0.5f, x.w - 0.5f, x.h - 0.5f, 3);
            canvas.paint(knob, ink);
            canvas.paint(outline(knob, 0.5f), with_alpha(0xFF000000, 0x50));
            break;
        }
        case Recipe::kDashedRect: {
            auto box = round_rect(1, 1, x.w - 1, x.h - 1, 6);
            canvas.paint(box, with_alpha(x.t.accent, 0x22));
            for (float px = 0; px < x.w; px += 8)
                canvas.paint(intersect(outline(box, 0.75f), rect(px, 0, px + 4, x.h)), x.t.accent);
            for (float py = 0; py < x.h; py += 8)
                canvas.paint(intersect(outline(box, 0.75f), rect(0, py, x.w, py + 4)), x.t.accent);
            draw_glyph(canvas, Glyph::kPlus, x.w / 2, x.h / 2, 20, x.t.accent);
            break;
        }
        case Recipe::kSpinner:
            spinner(x);
            break;
        case Recipe::kSlot:
            slot(x);
            break;
        case Recipe::kBanner:
            banner(x);
            break;
        case Recipe::kNote:
            canvas.fill(x.t.panel);
            canvas.paint(rect(0, 0, x.w, x.h), with_alpha(x.t.accent, 0x30));
            canvas.paint(rect(0, 0, 4, x.h), x.t.accent);
            draw_glyph(canvas, Glyph::kInfo, 11, x.h / 2, 12, x.t.accent);
            break;
        case Recipe::kTimelineDot: {
            uint32_t col = status_color(role.param);
            canvas.paint(circle(x.w / 2, x.h / 2, x.w / 2 - 0.5f), 0xFFFFFFFF, 0.9f);
            canvas.paint(circle(x.w / 2, x.h / 2, x.w / 2 - 2), col);
            break;
        }
        case Recipe::kSkinMode: {
            Ctx fixed{canvas, role, state, int(role.param), theme_for(int(role.param)), x.w, x.h};
            auto plate = round_rect(1, 1, x.w - 1, x.h - 1, 6);
            canvas.paint(plate, fixed.t.panel);
            canvas.paint(outline(plate, 0.5f),
                         state ? fixed.t.accent : with_alpha(fixed.t.icon, 0x80));
            draw_glyph(canvas, role.glyph, x.w / 2, x.h / 2, 20,
                       state ? fixed.t.accent : fixed.t.icon);
            break;
        }
        case Recipe::kGrip:
            draw_glyph(canvas, Glyph::kGrip, x.w / 2, x.h / 2, std::min(x.w, x.h),
                       skin < 0 ? 0xFF8E979F : with_alpha(x.t.icon, 0xB0));
            break;
        case Recipe::kFeature:
            feature(x);
            break;
        case Recipe::kTurnLine:
            canvas.fill(0xFF8E979F);
            break;
    }
    return canvas;
}

}  // namespace skingen
