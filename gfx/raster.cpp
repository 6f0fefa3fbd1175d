// The rasteriser: lines with styled round pens, rectangles, bars, circles and
// flood fill. Everything drawn here writes red, green and blue with alpha 0,
// which later keyed and alpha blends rely on. No anti-aliasing.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "gfx/internal.h"

namespace gfx {
namespace {

// Thicker pens than this would only be typing mistakes; capping them keeps
// every stamp small.
constexpr int kMaxThickness = 32;
// The midpoint circle walks one octant pixel by pixel; larger radii would only
// spend time off the image.
constexpr int kMaxRadius = 1 << 20;

struct Pen {
    IMAGE* image;
    Rect clip;
    uint32_t color;
    std::vector<std::pair<int, int>> stamp;  // offsets of the round pen's pixels
    std::vector<uint8_t> pattern;            // one entry per step: 1 draws
    int thickness;
    uint32_t phase = 0;  // steps taken so far, so dashes run on across corners
};

Rect clip_of(const IMAGE* im) {
    return detail::draw_clip(im).intersect(Rect{0, 0, im->width, im->height});
}

// Dash runs (on, off, on, off ...) in units of the pen thickness, as round
// geometric pens scale them.
std::vector<uint8_t> make_pattern(int style, uint16_t user, int t) {
    std::vector<int> runs;
    switch (style) {
        case kDashedLine:
            runs = {6, 4};
            break;
        case kDottedLine:
            runs = {1, 2};
            break;
        case kDashDotLine:
            runs = {6, 3, 1, 3};
            break;
        case kDashDotDotLine:
            runs = {6, 3, 1, 3, 1, 3};
            break;
        case kUserLine: {
            std::vector<uint8_t> bits;
            for (int b = 0; b < 16; ++b) bits.insert(bits.end(), t, (user >> b) & 1);
            return bits;
        }
        default:
            return {1};
    }
    std::vector<uint8_t> bits;
    for (size_t i = 0; i < runs.size(); ++i) bits.insert(bits.end(), runs[i] * t, i % 2 == 0);
    return bits;
}

bool make_pen(IMAGE* im, Color color, Pen* pen) {
    const DrawState& s = im->state;
    if (s.line_style == kNullLine) return false;
    pen->image = im;
    pen->clip = clip_of(im);
    if (pen->clip.empty()) return false;
    pen->color = detail::raster_color(color);
    const int t = std::clamp(s.line_thickness, 1, kMaxThickness);
    pen->thickness = t;
    pen->pattern = make_pattern(s.line_style, s.line_pattern, t);
    // A round pen of diameter t centred on the line pixel.
    const double c = (t - 1) / 2.0, r2 = (t / 2.0) * (t / 2.0) + 0.01;
    for (int j = 0; j < t; ++j) {
        for (int i = 0; i < t; ++i) {
            if ((i - c) * (i - c) + (j - c) * (j - c) <= r2 || t <= 3) {
                pen->stamp.emplace_back(i - (t - 1) / 2, j - (t - 1) / 2);
            }
        }
    }
    return true;
}

void plot(const Pen& pen, int x, int y) {
    const Rect& c = pen.clip;
    IMAGE* im = pen.image;
    for (const auto& [ox, oy] : pen.stamp) {
        const int px = x + ox, py = y + oy;
        if (!c.contains(px, py)) continue;
        im->pixels[static_cast<size_t>(py) * im->width + px] = pen.color;
    }
}

// Steps from (x1, y1) towards (x2, y2) along the major axis, leaving out the
// end point. The minor coordinate of step i is computed directly, so steps
// that fall outside the clip can be skipped without walking them.
void segment(Pen& pen, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    const int64_t dx = x2 - x1, dy = y2 - y1;
    const int64_t n = std::max(std::llabs(dx), std::llabs(dy));
    if (n == 0) return;
    const bool x_major = std::llabs(dx) >= std::llabs(dy);
    const int64_t a1 = x_major ? x1 : y1;
    const int64_t sa = (x_major ? dx : dy) > 0 ? 1 : -1;
    const int64_t db = x_major ? dy : dx, b1 = x_major ? y1 : x1;
    const int64_t lo = (x_major ? pen.clip.x : pen.clip.y) - pen.thickness;
    const int64_t hi = (x_major ? pen.clip.right() : pen.clip.bottom()) + pen.thickness;
    int64_t i0 = sa > 0 ? lo - a1 : a1 - hi;
    int64_t i1 = sa > 0 ? hi - a1 : a1 - lo;
    i0 = std::max<int64_t>(i0, 0);
    i1 = std::min<int64_t>(i1, n - 1);
    const size_t period = pen.pattern.size();
    const int64_t adb = std::llabs(db), sb = db >= 0 ? 1 : -1;
    for (int64_t i = i0; i <= i1; ++i) {
        if (!pen.pattern[(pen.phase + i) % period]) continue;
        const int64_t a = a1 + sa * i;
        const int64_t b = b1 + sb * ((2 * i * adb + n) / (2 * n));
        if (x_major) {
            plot(pen, static_cast<int>(a), static_cast<int>(b));
        } else {
            plot(pen, static_cast<int>(b), static_cast<int>(a));
        }
    }
    pen.phase = static_cast<uint32_t>((pen.phase + n) % period);
}

}  // namespace

void draw_line(int x1, int y1, int x2, int y2, IMAGE* image) {
    IMAGE* im = detail::resolve(image, "IMAGE::line");
    Pen pen;
    if (im == nullptr || !make_pen(im, im->state.line_color, &pen)) return;
    const int64_t ox = im->state.viewport.area.x, oy = im->state.viewport.area.y;
    segment(pen, x1 + ox, y1 + oy, x2 + ox, y2 + oy);
    detail::touched(im);
}

void draw_rectangle(int left, int top, int right, int bottom, IMAGE* image) {
    IMAGE* im = detail::resolve(image, "IMAGE::rectangle");
    Pen pen;
    if (im == nullptr || !make_pen(im, im->state.line_color, &pen)) return;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (left == right || top == bottom) return;
    const int64_t l = int64_t{left} + im->state.viewport.area.x;
    const int64_t t = int64_t{top} + im->state.viewport.area.y;
    const int64_t r = int64_t{right} - 1 + im->state.viewport.area.x;
    const int64_t b = int64_t{bottom} - 1 + im->state.viewport.area.y;
    if (l == r || t == b) {
        // A one-pixel-wide outline is a single line including its far end.
        segment(pen, l, t, r + (l == r ? 0 : 1), b + (t == b ? 0 : 1));
    } else {
        // Each side leaves out its end, which the next side draws.
        segment(pen, l, t, r, t);
        segment(pen, r, t, r, b);
        segment(pen, r, b, l, b);
        segment(pen, l, b, l, t);
    }
    detail::touched(im);
}

void fill_bar(int left, int top, int right, int bottom, IMAGE* image) {
    IMAGE* im = detail::resolve(image, "IMAGE::bar");
    if (im == nullptr) return;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    const Rect c = clip_of(im);
    const int64_t ox = im->state.viewport.area.x, oy = im->state.viewport.area.y;
    const int x0 = static_cast<int>(std::max<int64_t>(left + ox, c.x));
    const int y0 = static_cast<int>(std::max<int64_t>(top + oy, c.y));
    const int x1 = static_cast<int>(std::min<int64_t>(right + ox, c.right()));
    const int y1 = static_cast<int>(std::min<int64_t>(bottom + oy, c.bottom()));
    if (x0 >= x1 || y0 >= y1) return;
    const uint32_t color = detail::raster_color(im->state.fill_color);
    for (int y = y0; y < y1; ++y) {
        uint32_t* row = &im->pixels[static_cast<size_t>(y) * im->width];
        std::fill(row + x0, row + x1, color);
    }
    detail::touched(im);
}

void draw_circle(int x, int y, int radius, IMAGE* image) {
    IMAGE* im = detail::resolve(image, "IMAGE::circle");
    Pen pen;
    if (im == nullptr || radius < 0 || radius > kMaxRadius) return;
    if (!make_pen(im, im->state.line_color, &pen)) return;
    const int cx = x + im->state.viewport.area.x, cy = y + im->state.viewport.area.y;
    // Dash styles are not followed around arcs: circles are drawn solid.
    int px = radius, py = 0, err = 1 - radius;
    while (px >= py) {
        const int pts[8][2] = {{px, py},   {py, px},   {-py, px}, {-px, py},
                               {-px, -py}, {-py, -px}, {py, -px}, {px, -py}};
        for (const auto& p : pts) plot(pen, cx + p[0], cy + p[1]);
        ++py;
        if (err < 0) {
            err += 2 * py + 1;
        } else {
            --px;
            err += 2 * (py - px) + 1;
        }
    }
    detail::touched(im);
}

void flood_fill(int x, int y, Color border_color, IMAGE* image) {
    IMAGE* im = detail::resolve(image, "IMAGE::floodfill");
    if (im == nullptr) return;
    const Rect c = clip_of(im);
    x += im->state.viewport.area.x;
    y += im->state.viewport.area.y;
    if (!c.contains(x, y)) return;
    // Borders are compared by colour only: drawn borders carry alpha 0.
    const uint32_t border = border_color & 0x00FFFFFFu;
    const int w = c.w, h = c.h;
    auto at = [&](int px, int py) -> uint32_t& {
        return im->pixels[static_cast<size_t>(py) * im->width + px];
    };
    auto open = [&](int px, int py, const std::vector<uint8_t>& seen) {
        return !seen[static_cast<size_t>(py - c.y) * w + (px - c.x)] &&
               (at(px, py) & 0x00FFFFFFu) != border;
    };
    // The fill colour may already occur inside the area, so a separate map
    // records which pixels have been filled.
    std::vector<uint8_t> seen(static_cast<size_t>(w) * h, 0);
    if (!open(x, y, seen)) return;
    const uint32_t color = detail::raster_color(im->state.fill_color);
    std::vector<std::pair<int, int>> stack{{x, y}};
    while (!stack.empty()) {
        auto [sx, sy] = stack.back();
        stack.pop_back();
        if (!open(sx, sy, seen)) continue;
        int l = sx, r = sx;
        while (l > c.x && open(l - 1, sy, seen)) --l;
        while (r + 1 < c.right() && open(r + 1, sy, seen)) ++r;
        for (int px = l; px <= r; ++px) {
            seen[static_cast<size_t>(sy - c.y) * w + (px - c.x)] = 1;
            at(px, sy) = color;
        }
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < c.y || ny >= c.bottom()) continue;
            bool in_run = false;
            for (int px = l; px <= r; ++px) {
                const bool o = open(px, ny, seen);
                if (o && !in_run) stack.emplace_back(px, ny);
                in_run = o;
            }
        }
    }
    detail::touched(im);
}

}  // namespace gfx
