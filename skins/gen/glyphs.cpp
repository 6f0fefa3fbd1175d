#include "skins/gen/glyphs.h"

#include <cmath>
#include <initializer_list>

namespace skingen {
namespace {

constexpr float kPi = 3.14159265f;

// Maps the 24-unit grid onto the target square and draws strokes of a width
// that grows with the icon but never drops below a crisp pixel and a half.
struct Pen {
    Canvas& canvas;
    float ox, oy, k;
    uint32_t color;
    float hw;  // half stroke width in pixels

    float X(float u) const { return ox + u * k; }
    float Y(float u) const { return oy + u * k; }

    void line(float x1, float y1, float x2, float y2) const {
        canvas.paint(segment(X(x1), Y(y1), X(x2), Y(y2), hw), color);
    }
    void lines(std::initializer_list<float> pts) const {
        auto p = pts.begin();
        for (size_t i = 0; i + 3 < pts.size(); i += 2) line(p[i], p[i + 1], p[i + 2], p[i + 3]);
    }
    void ring_at(float x, float y, float r) const {
        canvas.paint(ring(X(x), Y(y), r * k, hw), color);
    }
    void disc(float x, float y, float r) const { canvas.paint(circle(X(x), Y(y), r * k), color); }
    void box(float x0, float y0, float x1, float y1, float r) const {
        canvas.paint(outline(round_rect(X(x0), Y(y0), X(x1), Y(y1), r * k), hw), color);
    }
    void solid(float x0, float y0, float x1, float y1, float r) const {
        canvas.paint(round_rect(X(x0), Y(y0), X(x1), Y(y1), r * k), color);
    }
    void poly(std::initializer_list<float> pts) const {
        std::vector<float> v;
        auto p = pts.begin();
        for (size_t i = 0; i < pts.size(); i += 2) {
            v.push_back(X(p[i]));
            v.push_back(Y(p[i + 1]));
        }
        canvas.paint(polygon(std::move(v)), color);
    }
    void poly_outline(std::initializer_list<float> pts) const {
        std::vector<float> v;
        auto p = pts.begin();
        for (size_t i = 0; i < pts.size(); i += 2) {
            v.push_back(X(p[i]));
            v.push_back(Y(p[i + 1]));
        }
        canvas.paint(outline(polygon(std::move(v)), hw), color);
    }
    void arc_at(float x, float y, float r, float a0_deg, float a1_deg) const {
        canvas.paint(arc(X(x), Y(y), r * k, hw, a0_deg * kPi / 180, a1_deg * kPi / 180), color);
    }
};

void star(const Pen& p, float cx, float cy, float r, bool filled) {
    std::vector<float> v;
    for (int i = 0; i < 10; ++i) {
        float a = -kPi / 2 + float(i) * kPi / 5;
        float rr = (i % 2 ? r * 0.45f : r);
        v.push_back(p.X(cx + rr * std::cos(a)));
        v.push_back(p.Y(cy + rr * std::sin(a)));
    }
    if (filled)
        p.canvas.paint(polygon(v), p.color);
    else
        p.canvas.paint(outline(polygon(v), p.hw), p.color);
}

}  // namespace

void draw_glyph(Canvas& canvas, Glyph glyph, float cx, float cy, float size, uint32_t color) {
    float k = size / 24.0f;
    Pen p{canvas, cx - size / 2, cy - size / 2, k, color, std::max(0.75f, 1.0f * k)};
    switch (glyph) {
        case Glyph::kNone:
            break;
        case Glyph::kClose:
        case Glyph::kCross:
            p.lines({6, 6, 18, 18});
            p.lines({18, 6, 6, 18});
            break;
        case Glyph::kMinimize:
            p.line(6, 12, 18, 12);
            break;
        case Glyph::kMaximize:
            p.box(6, 6, 18, 18, 1);
            break;
        case Glyph::kRestore:
            p.box(5, 9, 15, 19, 1);
            p.lines({9, 9, 9, 5, 19, 5, 19, 15, 15, 15});
            break;
        case Glyph::kLock:
            p.solid(5, 11, 19, 21, 2);
            p.arc_at(12, 10, 4.5f, 180, 360);
            p.lines({7.5f, 10, 7.5f, 11});
            p.lines({16.5f, 10, 16.5f, 11});
            break;
        case Glyph::kUnlock:
            p.solid(5, 11, 19, 21, 2);
            p.arc_at(12, 7, 4.5f, 180, 360);
            p.line(16.5f, 7, 16.5f, 11);
            break;
        case Glyph::kPin:
        case Glyph::kUnpin:
            p.poly({9, 3, 15, 3, 14, 9, 18, 13, 6, 13, 10, 9});
            p.line(12, 13, 12, 21);
            if (glyph == Glyph::kUnpin) p.line(4, 4, 20, 20);
            break;
        case Glyph::kLink:
            // Two chain links on the diagonal joined by a short bar.
            p.canvas.paint(outline(segment(p.X(6), p.Y(18), p.X(10), p.Y(14), 3.3f * k), p.hw),
                           color);
            p.canvas.paint(outline(segment(p.X(14), p.Y(10), p.X(18), p.Y(6), 3.3f * k), p.hw),
                           color);
            p.line(9.5f, 14.5f, 14.5f, 9.5f);
            break;
        case Glyph::kPlus:
            p.line(12, 5, 12, 19);
            p.line(5, 12, 19, 12);
            break;
        case Glyph::kMinus:
            p.line(5, 12, 19, 12);
            break;
        case Glyph::kTrash:
        case Glyph::kTrashFull:
            p.line(4, 6, 20, 6);
            p.lines({9, 6, 9, 3, 15, 3, 15, 6});
            p.poly_outline({6, 6, 18, 6, 17, 21, 7, 21});
            if (glyph == Glyph::kTrashFull) {
                p.line(10, 10, 10, 17);
                p.line(14, 10, 14, 17);
            }
            break;
        case Glyph::kChart:
            p.lines({3, 3, 3, 21, 21, 21});
            p.solid(6.5f, 13, 9.5f, 19, 0.5f);
            p.solid(11.5f, 8, 14.5f, 19, 0.5f);
            p.solid(16.5f, 4, 19.5f, 19, 0.5f);
            break;
        case Glyph::kSearch:
            p.ring_at(10, 10, 6);
            p.line(14.5f, 14.5f, 20, 20);
            break;
        case Glyph::kTimeline:
            p.line(2, 12, 22, 12);
            p.disc(6, 12, 2.5f);
            p.disc(13, 12, 2.5f);
            p.ring_at(19, 12, 2.2f);
            p.line(6, 12, 6, 5);
            p.line(13, 12, 13, 19);
            break;
        case Glyph::kCheck:
            p.lines({5, 12.5f, 10, 17.5f, 19, 7});
            break;
        case Glyph::kBang:
            p.line(12, 4, 12, 14);
            p.disc(12, 19, 1.6f);
            break;
        case Glyph::kNull:
            p.ring_at(12, 12, 8);
            p.line(8, 12, 16, 12);
            break;
        case Glyph::kPerson:
            p.disc(12, 7.5f, 4);
            p.canvas.paint(intersect(circle(p.X(12), p.Y(22), 9 * k), rect(0, 0, p.X(24), p.Y(21))),
                           color);
            break;
        case Glyph::kPeople:
            p.disc(8.5f, 8, 3.3f);
            p.disc(16, 7, 3.3f);
            p.canvas.paint(
                intersect(circle(p.X(8.5f), p.Y(21), 7 * k), rect(0, 0, p.X(24), p.Y(20))), color);
            p.canvas.paint(intersect(circle(p.X(16), p.Y(20), 7 * k), rect(0, 0, p.X(24), p.Y(19))),
                           color, 0.7f);
            break;
        case Glyph::kTask:
            p.box(4, 4, 20, 20, 3);
            p.lines({8, 12, 11, 15, 16.5f, 9});
            break;
        case Glyph::kGear:
            p.ring_at(12, 12, 6.5f);
            p.disc(12, 12, 2.2f);
            for (int i = 0; i < 8; ++i) {
                float a = float(i) * kPi / 4;
                p.line(12 + 6.5f * std::cos(a), 12 + 6.5f * std::sin(a), 12 + 9.5f * std::cos(a),
                       12 + 9.5f * std::sin(a));
            }
            break;
        case Glyph::kPalette:
            p.ring_at(12, 12, 8.5f);
            p.disc(8, 9, 1.8f);
            p.disc(12.5f, 7, 1.8f);
            p.disc(16.5f, 10, 1.8f);
            p.disc(10, 15.5f, 2.2f);
            break;
        case Glyph::kZoomIn:
        case Glyph::kZoomOut:
            p.ring_at(10, 10, 6.5f);
            p.line(15, 15, 20.5f, 20.5f);
            p.line(7, 10, 13, 10);
            if (glyph == Glyph::kZoomIn) p.line(10, 7, 10, 13);
            break;
        case Glyph::kArrowRight:
            p.lines({9, 5, 16, 12, 9, 19});
            break;
        case Glyph::kArrowLeft:
            p.lines({15, 5, 8, 12, 15, 19});
            break;
        case Glyph::kArrowUp:
            p.lines({5, 15, 12, 8, 19, 15});
            break;
        case Glyph::kArrowDown:
            p.lines({5, 9, 12, 16, 19, 9});
            break;
        case Glyph::kEye:
            p.canvas.paint(outline(intersect(circle(p.X(12), p.Y(20), 12 * k),
                                             circle(p.X(12), p.Y(4), 12 * k)),
                                   p.hw),
                           color);
            p.disc(12, 12, 3);
            break;
        case Glyph::kFlag:
        case Glyph::kFlagOff:
            p.line(6, 3, 6, 21);
            p.poly({6, 4, 19, 4, 16, 8.5f, 19, 13, 6, 13});
            if (glyph == Glyph::kFlagOff) p.line(3, 20, 21, 4);
            break;
        case Glyph::kFunnel:
            p.poly({3, 4, 21, 4, 14, 12, 14, 20, 10, 18, 10, 12});
            break;
        case Glyph::kList:
            for (float y : {6.0f, 12.0f, 18.0f}) {
                p.disc(5, y, 1.6f);
                p.line(9, y, 20, y);
            }
            break;
        case Glyph::kInfo:
            p.ring_at(12, 12, 9);
            p.disc(12, 7.5f, 1.4f);
            p.line(12, 11, 12, 17);
            break;
        case Glyph::kQuestion:
            p.ring_at(12, 12, 9);
            p.arc_at(12, 9.5f, 3, 180, 400);
            p.line(12, 12.3f, 12, 14);
            p.disc(12, 17, 1.3f);
            break;
        case Glyph::kShield:
            p.poly_outline({12, 3, 20, 6, 19, 13, 12, 21, 5, 13, 4, 6});
            p.lines({8.5f, 12, 11, 14.5f, 15.5f, 9.5f});
            break;
        case Glyph::kTarget:
            p.ring_at(12, 12, 8.5f);
            p.ring_at(12, 12, 4.5f);
            p.disc(12, 12, 1.5f);
            break;
        case Glyph::kTag:
            p.poly_outline({3, 3, 12, 3, 21, 12, 12, 21, 3, 12});
            p.disc(8, 8, 1.7f);
            break;
        case Glyph::kNote:
            p.poly_outline({5, 3, 15, 3, 19, 7, 19, 21, 5, 21});
            p.line(8, 11, 16, 11);
            p.line(8, 15, 16, 15);
            break;
        case Glyph::kSend:
            p.poly({3, 11, 21, 3, 14, 21, 11, 13});
            break;
        case Glyph::kSliders:
            p.line(4, 7, 20, 7);
            p.line(4, 17, 20, 17);
            p.disc(9, 7, 2.6f);
            p.disc(15, 17, 2.6f);
            break;
        case Glyph::kBulb:
            p.ring_at(12, 10, 6.5f);
            p.line(9.5f, 18, 14.5f, 18);
            p.line(10, 21, 14, 21);
            break;
        case Glyph::kDiamond:
            p.poly({12, 3, 21, 12, 12, 21, 3, 12});
            break;
        case Glyph::kCube:
            p.poly_outline({12, 3, 20, 7.5f, 20, 16.5f, 12, 21, 4, 16.5f, 4, 7.5f});
            p.lines({4, 7.5f, 12, 12, 20, 7.5f});
            p.line(12, 12, 12, 21);
            break;
        case Glyph::kBubbles:
            p.disc(8, 14, 5);
            p.ring_at(16, 8, 4);
            p.ring_at(17.5f, 17.5f, 2.5f);
            break;
        case Glyph::kHome:
            p.lines({3, 12, 12, 4, 21, 12});
            p.lines({6, 10, 6, 20, 18, 20, 18, 10});
            p.solid(10, 14, 14, 20, 0.5f);
            break;
        case Glyph::kPuzzle:
            p.box(4, 7, 17, 20, 1.5f);
            p.disc(10.5f, 6, 2.6f);
            p.disc(18, 13.5f, 2.6f);
            break;
        case Glyph::kScissors:
            p.ring_at(7, 17, 3);
            p.ring_at(17, 17, 3);
            p.line(9, 15, 18, 3);
            p.line(15, 15, 6, 3);
            break;
        case Glyph::kSpark:
            p.poly({12, 2, 14, 10, 22, 12, 14, 14, 12, 22, 10, 14, 2, 12, 10, 10});
            break;
        case Glyph::kGrid:
            p.solid(4, 4, 11, 11, 1.5f);
            p.solid(13, 4, 20, 11, 1.5f);
            p.solid(4, 13, 11, 20, 1.5f);
            p.box(13.5f, 13.5f, 19.5f, 19.5f, 1.5f);
            break;
        case Glyph::kCard:
            p.box(3, 6, 21, 18, 2);
            p.line(7, 12, 17, 12);
            break;
        case Glyph::kCardNew:
            p.box(3, 6, 16, 18, 2);
            p.line(19, 3, 19, 11);
            p.line(15, 7, 23, 7);
            break;
        case Glyph::kStar:
            star(p, 12, 12.5f, 9.5f, true);
            break;
        case Glyph::kKey:
            p.ring_at(8, 12, 4.5f);
            p.line(12.5f, 12, 21, 12);
            p.line(18, 12, 18, 16);
            p.line(21, 12, 21, 15);
            break;
        case Glyph::kIdCard:
            p.box(2, 5, 22, 19, 2);
            p.disc(8, 10.5f, 2.3f);
            p.canvas.paint(
                intersect(circle(p.X(8), p.Y(18), 4.5f * k), rect(0, 0, p.X(24), p.Y(16.5f))),
                color);
            p.line(13, 10, 19, 10);
            p.line(13, 14, 18, 14);
            break;
        case Glyph::kResize:
            p.line(5, 19, 19, 5);
            p.lines({12, 5, 19, 5, 19, 12});
            p.lines({5, 12, 5, 19, 12, 19});
            break;
        case Glyph::kWindow:
            p.box(3, 5, 21, 19, 2);
            p.line(3, 9, 21, 9);
            break;
        case Glyph::kMerge:
            p.lines({5, 4, 5, 9, 12, 15, 12, 21});
            p.lines({19, 4, 19, 9, 12, 15});
            break;
        case Glyph::kPlay:
            p.poly({7, 4, 20, 12, 7, 20});
            break;
        case Glyph::kHourglass:
            p.line(5, 3, 19, 3);
            p.line(5, 21, 19, 21);
            p.poly_outline({7, 3, 17, 3, 12, 12, 17, 21, 7, 21, 12, 12});
            break;
        case Glyph::kBack:
            p.arc_at(12, 13, 7, 200, 450);
            p.poly({3, 8, 9, 6.5f, 6, 13});
            break;
        case Glyph::kMapPin:
        case Glyph::kMapPinOff:
            p.canvas.paint(subtract(unite(circle(p.X(12), p.Y(9.5f), 6.5f * k),
                                          polygon({p.X(6.4f), p.Y(12.5f), p.X(17.6f), p.Y(12.5f),
                                                   p.X(12), p.Y(21.5f)})),
                                    circle(p.X(12), p.Y(9.5f), 2.5f * k)),
                           color);
            if (glyph == Glyph::kMapPinOff) p.line(4, 20, 20, 4);
            break;
        case Glyph::kDots:
            p.disc(5, 12, 2);
            p.disc(12, 12, 2);
            p.disc(19, 12, 2);
            break;
        case Glyph::kFolder:
            p.poly_outline({3, 5, 10, 5, 12, 7.5f, 21, 7.5f, 21, 19, 3, 19});
            break;
        case Glyph::kFolderOpen:
            p.lines({3, 19, 3, 5, 10, 5, 12, 7.5f, 19, 7.5f, 19, 10});
            p.poly({3, 19, 6.5f, 10, 22, 10, 18.5f, 19});
            break;
        case Glyph::kWhat:
            p.poly_outline({4, 4, 20, 4, 20, 16, 11, 16, 6, 20, 6, 16, 4, 16});
            p.disc(9, 10, 1.2f);
            p.disc(12, 10, 1.2f);
            p.disc(15, 10, 1.2f);
            break;
        case Glyph::kLayers:
            p.poly_outline({12, 4, 21, 9, 12, 14, 3, 9});
            p.lines({3, 13.5f, 12, 18.5f, 21, 13.5f});
            break;
        case Glyph::kGrip:
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j <= i; ++j) p.disc(19 - 5 * float(j), 9 + 5 * float(i), 1.5f);
            break;
        case Glyph::kCompass:
            p.ring_at(12, 12, 9);
            p.poly({15.5f, 8.5f, 13.5f, 13.5f, 8.5f, 15.5f, 10.5f, 10.5f});
            break;
        case Glyph::kStop:
            p.ring_at(12, 12, 8.5f);
            p.line(6, 18, 18, 6);
            break;
    }
}

}  // namespace skingen
