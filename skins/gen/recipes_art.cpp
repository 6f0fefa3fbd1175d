#include <algorithm>
#include <cmath>

#include "skins/gen/glyphs.h"
#include "skins/gen/recipe_kit.h"
#include "skins/gen/recipes.h"

namespace skingen {

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

}  // namespace skingen
