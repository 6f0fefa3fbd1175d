// Drawing helpers shared by the analysis views: text in the interface face,
// filled circles, pictures (also with a fading alpha) and the skin colours
// these views use that no shared palette group holds.
#pragma once

#include <cstdint>

#include "gfx/gfx.h"

namespace nd::draw_kit {

// The skin's line colour (grid rows, dotted links, the strip's top line),
// by skin: BLACK, CAKE, STARS, WHITE.
inline constexpr uint32_t kLineColour[4] = {0xFF8C8B7C, 0xFFB9A79F, 0xFF4F6A78, 0xFFB4B8BC};

// Text in "微软雅黑" at `size` pixels, drawn without a background.
void text(gfx::IMAGE* canvas, int x, int y, int size, uint32_t colour, const char* gbk);
int text_width(gfx::IMAGE* canvas, int size, const char* gbk);

// A circle filled with `colour`, drawn as horizontal spans.
void fill_disc(gfx::IMAGE* canvas, int cx, int cy, int radius, uint32_t colour);

// A picture with its own alpha; `alpha` (0..255) fades it further. With
// `mirror` it is drawn flipped left to right.
void picture(gfx::IMAGE* canvas, const gfx::IMAGE* picture, int x, int y, int alpha = 255,
             bool mirror = false);

// A shared picture by name, or the 1 x 1 stand-in when it is missing.
gfx::IMAGE* load_picture(const char* name);

// Sets a clipping viewport for the life of the object and puts the previous
// one back afterwards.
class ViewportScope {
public:
    ViewportScope(gfx::IMAGE* canvas, int left, int top, int right, int bottom);
    ~ViewportScope();
    ViewportScope(const ViewportScope&) = delete;
    ViewportScope& operator=(const ViewportScope&) = delete;

private:
    gfx::IMAGE* m_canvas;
    gfx::Viewport m_saved;
};

}  // namespace nd::draw_kit
