#include "analysis/draw_kit.h"

#include <algorithm>
#include <cmath>

#include "analysis/report_texts.h"

namespace nd::draw_kit {

void text(gfx::IMAGE* canvas, int x, int y, int size, uint32_t colour, const char* gbk) {
    gfx::set_font(size, 0, report_text::kFace, canvas);
    gfx::set_bk_mode(gfx::kTransparent, canvas);
    gfx::set_text_align(gfx::kAlignLeft, gfx::kAlignTop, canvas);
    gfx::set_color(colour, canvas);
    gfx::text_out(x, y, gbk, canvas);
}

int text_width(gfx::IMAGE* canvas, int size, const char* gbk) {
    gfx::set_font(size, 0, report_text::kFace, canvas);
    return gfx::text_width(gbk, canvas);
}

void fill_disc(gfx::IMAGE* canvas, int cx, int cy, int radius, uint32_t colour) {
    if (radius < 0) return;
    gfx::set_fill_color(colour, canvas);
    // Only the rows that can reach the image are walked, so a huge bubble
    // costs no more than the image is tall.
    const gfx::Viewport& v = canvas->state.viewport;
    int from = std::max(-radius, -(v.area.y + cy));
    int to = std::min(radius, canvas->height - 1 - v.area.y - cy);
    for (int dy = from; dy <= to; ++dy) {
        int half = int(std::sqrt(double(radius) * radius - double(dy) * dy));
        gfx::fill_bar(cx - half, cy + dy, cx + half + 1, cy + dy + 1, canvas);
    }
}

void picture(gfx::IMAGE* canvas, const gfx::IMAGE* pic, int x, int y, int alpha, bool mirror) {
    if (!pic || pic->width <= 0) return;
    if (alpha >= 255 && !mirror) {
        gfx::putimage_srcalpha(canvas, pic, x, y);
        return;
    }
    const gfx::Viewport& v = canvas->state.viewport;
    const int left = v.clip ? v.area.x : 0, top = v.clip ? v.area.y : 0;
    const int right = std::min(v.clip ? v.area.right() : canvas->width, canvas->width);
    const int bottom = std::min(v.clip ? v.area.bottom() : canvas->height, canvas->height);
    for (int py = 0; py < pic->height; ++py) {
        int dy = y + v.area.y + py;
        if (dy < top || dy >= bottom) continue;
        for (int px = 0; px < pic->width; ++px) {
            int dx = x + v.area.x + px;
            if (dx < left || dx >= right) continue;
            uint32_t s = pic->pixels[size_t(py) * pic->width + (mirror ? pic->width - 1 - px : px)];
            uint32_t a = (s >> 24) * uint32_t(alpha) / 255;
            uint32_t& d = canvas->pixels[size_t(dy) * canvas->width + dx];
            // The same word blend as the graphics layer's: red and blue move
            // together under one mask, green alone; the target keeps its alpha.
            uint32_t drb = d & 0x00FF00FFu, dg = d & 0x0000FF00u;
            uint32_t rb = (drb + ((((s & 0x00FF00FFu) - drb) * a) >> 8)) & 0x00FF00FFu;
            uint32_t g = (dg + ((((s & 0x0000FF00u) - dg) * a) >> 8)) & 0x0000FF00u;
            d = rb | g | (d & 0xFF000000u);
        }
    }
}

gfx::IMAGE* load_picture(const char* name) {
    gfx::IMAGE* image = gfx::new_image(1, 1);
    (void)gfx::getimage(image, "IMGS", name);
    return image;
}

ViewportScope::ViewportScope(gfx::IMAGE* canvas, int left, int top, int right, int bottom)
    : m_canvas(canvas), m_saved(canvas->state.viewport) {
    gfx::set_viewport(left, top, right, bottom, 1, canvas);
}

ViewportScope::~ViewportScope() {
    m_canvas->state.viewport = m_saved;
}

}  // namespace nd::draw_kit
