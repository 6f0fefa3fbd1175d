// The one rectangle of the programs: a viewport, a clip, the desktop's work
// area, a widget's place on the page and a panel's on the board are all
// this. Half-open: x runs over [x, x + w), y over [y, y + h).
#pragma once

#include <algorithm>
#include <ostream>

namespace gfx {

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    // From its edges; right and bottom are one past the last column and row.
    // A right edge left of the left one gives a negative width, which is
    // empty and contains nothing.
    static constexpr Rect from_edges(int left, int top, int right, int bottom) {
        return {left, top, right - left, bottom - top};
    }
    constexpr int right() const { return x + w; }
    constexpr int bottom() const { return y + h; }
    constexpr bool empty() const { return w <= 0 || h <= 0; }

    // The left and top edges are inside, the right and bottom edges are not:
    // rectangles that share an edge never both hold a point.
    constexpr bool contains(int px, int py) const {
        return px >= x && py >= y && px < x + w && py < y + h;
    }
    // Only points between the edges: a point exactly on any edge is outside,
    // as the board's hit test wants for cards and panels.
    constexpr bool strictly_contains(int px, int py) const {
        return px > x && py > y && px < x + w && py < y + h;
    }
    // The part inside both (empty when they do not meet).
    constexpr Rect intersect(const Rect& o) const {
        return from_edges(std::max(x, o.x), std::max(y, o.y), std::min(right(), o.right()),
                          std::min(bottom(), o.bottom()));
    }

    constexpr bool operator==(const Rect&) const = default;
};

// So that test failures print the rectangle.
inline std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}

}  // namespace gfx
