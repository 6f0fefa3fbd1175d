#include "board/shapes.h"

#include <algorithm>

namespace nd {

void fill_rect(gfx::IMAGE* canvas, const gfx::Rect& r, gfx::Color colour) {
    if (r.empty()) return;
    gfx::set_fill_color(colour, canvas);
    gfx::fill_bar(r.x, r.y, r.right(), r.bottom(), canvas);
}

void fill_disc(gfx::IMAGE* canvas, int cx, int cy, int r, gfx::Color colour) {
    if (r < 0) return;
    gfx::set_fill_color(colour, canvas);
    // Each row's half width is the largest h with h^2 + dy^2 <= r^2; it
    // only shrinks as dy grows, so one walk finds them all in integers.
    const int64_t rr = int64_t{r} * r;
    int64_t half = r;
    for (int dy = 0; dy <= r; ++dy) {
        while (half * half + int64_t{dy} * dy > rr) --half;
        const int h = static_cast<int>(half);
        gfx::fill_bar(cx - h, cy + dy, cx + h + 1, cy + dy + 1, canvas);
        if (dy > 0) gfx::fill_bar(cx - h, cy - dy, cx + h + 1, cy - dy + 1, canvas);
    }
}

void hline(gfx::IMAGE* canvas, int x1, int x2, int y, gfx::Color colour) {
    gfx::set_fill_color(colour, canvas);
    gfx::fill_bar(std::min(x1, x2), y, std::max(x1, x2) + 1, y + 1, canvas);
}

void vline(gfx::IMAGE* canvas, int x, int y1, int y2, gfx::Color colour) {
    gfx::set_fill_color(colour, canvas);
    gfx::fill_bar(x, std::min(y1, y2), x + 1, std::max(y1, y2) + 1, canvas);
}

void outline(gfx::IMAGE* canvas, const gfx::Rect& r, gfx::Color colour) {
    if (r.empty()) return;
    hline(canvas, r.x, r.right() - 1, r.y, colour);
    hline(canvas, r.x, r.right() - 1, r.bottom() - 1, colour);
    vline(canvas, r.x, r.y, r.bottom() - 1, colour);
    vline(canvas, r.right() - 1, r.y, r.bottom() - 1, colour);
}

}  // namespace nd
