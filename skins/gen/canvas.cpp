#include "skins/gen/canvas.h"

#include <algorithm>
#include <cmath>

namespace skingen {
namespace {

struct Rgba {
    float r, g, b, a;
};

Rgba unpack(uint32_t c) {
    return {float((c >> 16) & 255) / 255.0f, float((c >> 8) & 255) / 255.0f,
            float(c & 255) / 255.0f, float(c >> 24) / 255.0f};
}

uint32_t pack(Rgba c) {
    auto q = [](float v) { return uint32_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    return (q(c.a) << 24) | (q(c.r) << 16) | (q(c.g) << 8) | q(c.b);
}

// Straight-alpha source-over.
uint32_t over(uint32_t dst, uint32_t src, float coverage) {
    Rgba s = unpack(src), d = unpack(dst);
    float sa = s.a * coverage;
    if (sa <= 0.0f) return dst;
    float oa = sa + d.a * (1.0f - sa);
    if (oa <= 0.0f) return 0;
    Rgba o{(s.r * sa + d.r * d.a * (1.0f - sa)) / oa, (s.g * sa + d.g * d.a * (1.0f - sa)) / oa,
           (s.b * sa + d.b * d.a * (1.0f - sa)) / oa, oa};
    return pack(o);
}

float coverage_of(float distance) {
    return std::clamp(0.5f - distance, 0.0f, 1.0f);
}

}  // namespace

void Canvas::fill(uint32_t color) {
    std::fill(pixels.begin(), pixels.end(), color);
}

void Canvas::paint(const Shape& shape, uint32_t color, float opacity) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float c = coverage_of(shape(float(x) + 0.5f, float(y) + 0.5f)) * opacity;
            if (c > 0.0f) at(x, y) = over(at(x, y), color, c);
        }
}

void Canvas::blend(int x, int y, uint32_t color, float coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0.0f) return;
    at(x, y) = over(at(x, y), color, std::min(coverage, 1.0f));
}

void Canvas::paint_gradient(const Shape& shape, uint32_t top, uint32_t bottom) {
    for (int y = 0; y < height; ++y) {
        uint32_t color = mix(top, bottom, height > 1 ? float(y) / float(height - 1) : 0.0f);
        for (int x = 0; x < width; ++x) {
            float c = coverage_of(shape(float(x) + 0.5f, float(y) + 0.5f));
            if (c > 0.0f) at(x, y) = over(at(x, y), color, c);
        }
    }
}

void Canvas::erase(const Shape& shape) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float c = coverage_of(shape(float(x) + 0.5f, float(y) + 0.5f));
            if (c <= 0.0f) continue;
            uint32_t p = at(x, y);
            uint32_t a = uint32_t(std::lround(float(p >> 24) * (1.0f - c)));
            at(x, y) = (a << 24) | (p & 0xFFFFFF);
        }
}

uint32_t mix(uint32_t a, uint32_t b, float t) {
    Rgba x = unpack(a), y = unpack(b);
    return pack({x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
                 x.a + (y.a - x.a) * t});
}

uint32_t with_alpha(uint32_t color, int alpha) {
    return (uint32_t(std::clamp(alpha, 0, 255)) << 24) | (color & 0xFFFFFF);
}

float luminance(uint32_t color) {
    Rgba c = unpack(color);
    return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b;
}

Shape circle(float cx, float cy, float r) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

Shape ring(float cx, float cy, float r, float half_width) {
    return [=](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - r) - half_width; };
}

Shape round_rect(float x0, float y0, float x1, float y1, float radius) {
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    return [=](float x, float y) {
        float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Shape rect(float x0, float y0, float x1, float y1) {
    return round_rect(x0, y0, x1, y1, 0.0f);
}

Shape segment(float ax, float ay, float bx, float by, float half_width) {
    return [=](float x, float y) {
        float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
        float len2 = dx * dx + dy * dy;
        float h = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
        return std::hypot(px - dx * h, py - dy * h) - half_width;
    };
}

Shape polygon(std::vector<float> xy) {
    return [v = std::move(xy)](float x, float y) {
        size_t n = v.size() / 2;
        float d = 1e9f;
        float s = 1.0f;
        for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
            float ex = v[2 * j] - v[2 * i], ey = v[2 * j + 1] - v[2 * i + 1];
            float wx = x - v[2 * i], wy = y - v[2 * i + 1];
            float h = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
            float bx = wx - ex * h, by = wy - ey * h;
            d = std::min(d, bx * bx + by * by);
            bool c1 = y >= v[2 * i + 1], c2 = y<v[2 * j + 1], c3 = ex * wy> ey * wx;
            if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
        }
        return s * std::sqrt(d);
    };
}

Shape arc(float cx, float cy, float r, float half_width, float a0, float a1) {
    float ax = cx + r * std::cos(a0), ay = cy + r * std::sin(a0);
    float bx = cx + r * std::cos(a1), by = cy + r * std::sin(a1);
    return [=](float x, float y) {
        float a = std::atan2(y - cy, x - cx);
        float t = a;
        while (t < a0) t += 6.2831853f;
        if (t <= a1) return std::fabs(std::hypot(x - cx, y - cy) - r) - half_width;
        float da = std::hypot(x - ax, y - ay), db = std::hypot(x - bx, y - by);
        return std::min(da, db) - half_width;
    };
}

Shape unite(Shape a, Shape b) {
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Shape subtract(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

Shape intersect(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

Shape outline(Shape a, float half_width) {
    return [=](float x, float y) { return std::fabs(a(x, y)) - half_width; };
}

}  // namespace skingen
