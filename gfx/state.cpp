// Per-image drawing state.
#include <algorithm>

#include "gfx/internal.h"

namespace gfx {
namespace {

IMAGE* state_of(IMAGE* image) {
    return detail::resolve(image, "IMAGE::setstate");
}

}  // namespace

void set_color(Color color, IMAGE* image) {
    if (IMAGE* im = state_of(image)) im->state.line_color = color;
}

void set_fill_color(Color color, IMAGE* image) {
    if (IMAGE* im = state_of(image)) {
        im->state.fill_color = color;
        im->state.fill_pattern = 1;
    }
}

void set_fill_style(int pattern, Color color, IMAGE* image) {
    if (IMAGE* im = state_of(image)) {
        im->state.fill_color = color;
        im->state.fill_pattern = pattern;
    }
}

void set_bk_color(Color color, IMAGE* image) {
    IMAGE* im = state_of(image);
    if (im == nullptr) return;
    const Color old = im->state.bk_color;
    if (old != color) {
        std::replace(im->pixels.begin(), im->pixels.end(), old, color);
        detail::touched(im);
    }
    im->state.bk_color = color;
    im->state.text_bk_color = color;
}

void set_text_bk_color(Color color, IMAGE* image) {
    if (IMAGE* im = state_of(image)) im->state.text_bk_color = color;
}

void set_bk_mode(int mode, IMAGE* image) {
    if (IMAGE* im = state_of(image)) im->state.bk_mode = mode;
}

void set_line_style(int style, uint16_t pattern, int thickness, IMAGE* image) {
    IMAGE* im = state_of(image);
    if (im == nullptr) return;
    im->state.line_style = style;
    im->state.line_pattern = pattern;
    im->state.line_thickness = std::max(1, thickness);
}

void set_viewport(int left, int top, int right, int bottom, int clip, IMAGE* image) {
    IMAGE* im = state_of(image);
    if (im == nullptr) return;
    Viewport& v = im->state.viewport;
    v.area = Rect::from_edges(std::max(0, left), std::max(0, top), std::min(right, im->width),
                              std::min(bottom, im->height));
    v.clip = clip != 0;
}

void set_text_align(int horizontal, int vertical, IMAGE* image) {
    IMAGE* im = state_of(image);
    if (im == nullptr) return;
    im->state.align_h = horizontal;
    im->state.align_v = vertical;
}

}  // namespace gfx
