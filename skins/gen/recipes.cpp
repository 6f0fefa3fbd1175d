#include "skins/gen/recipes.h"

#include <algorithm>
#include <cmath>

#include "skins/gen/glyphs.h"
#include "skins/gen/recipe_kit.h"

namespace skingen {

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
