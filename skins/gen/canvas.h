// A small coverage painter for the picture generator. Shapes are signed
// distance functions in pixel units (negative inside); a pixel is covered by
// how far its centre lies inside the edge, which gives smooth edges without
// supersampling. Pixels are straight-alpha 0xAARRGGBB words.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace skingen {

using Shape = std::function<float(float x, float y)>;

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    Canvas(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h), 0) {}
    uint32_t& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    void fill(uint32_t color);
    // Composites `color` over the canvas where `shape` covers it, scaled by opacity.
    void paint(const Shape& shape, uint32_t color, float opacity = 1.0f);
    // Vertical gradient from `top` to `bottom` colour inside `shape`.
    void paint_gradient(const Shape& shape, uint32_t top, uint32_t bottom);
    // Composites `color` over one pixel with the given coverage (0..1).
    void blend(int x, int y, uint32_t color, float coverage);
    // Clears what `shape` covers back to transparency (used to punch holes).
    void erase(const Shape& shape);
};

// Colour helpers.
uint32_t mix(uint32_t a, uint32_t b, float t);  // t = 0 gives a
uint32_t with_alpha(uint32_t color, int alpha);
float luminance(uint32_t color);

// Primitive shapes.
Shape circle(float cx, float cy, float r);
Shape ring(float cx, float cy, float r, float half_width);
Shape round_rect(float x0, float y0, float x1, float y1, float radius);
Shape rect(float x0, float y0, float x1, float y1);
Shape segment(float ax, float ay, float bx, float by, float half_width);
Shape polygon(std::vector<float> xy);  // x0, y0, x1, y1 ... any simple polygon
// An arc of a ring from angle a0 to a1 (radians, clockwise from +x in screen space).
Shape arc(float cx, float cy, float r, float half_width, float a0, float a1);

// Combinators.
Shape unite(Shape a, Shape b);
Shape subtract(Shape a, Shape b);
Shape intersect(Shape a, Shape b);
Shape outline(Shape a, float half_width);  // a band along the edge of `a`

}  // namespace skingen
