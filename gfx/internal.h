// Helpers shared by the graphics layer's own files: resolving the image a
// call draws on, the clip rectangle of rasterised drawing, and the dirty flag
// of the screen page. Not part of the public surface.
#pragma once

#include "gfx/gfx.h"

namespace gfx::detail {

// The image a call acts on: the named one, or the current target. nullptr
// when there is none; an image without the valid mark ends the process under
// the given method name.
IMAGE* resolve(IMAGE* image, const char* method);
const IMAGE* resolve(const IMAGE* image, const char* method);

// Marks the screen page as needing a refresh when `image` is the screen page.
void touched(const IMAGE* image);

// Where rasterised drawing and plain copies may write: the viewport when its
// clip flag is set, else the whole image.
Rect draw_clip(const IMAGE* image);

// A fresh buffer of width * height words, or the fatal path when the memory
// cannot be had.
void allocate_pixels(IMAGE* image, int width, int height, uint32_t fill);

// Rasterised primitives write red, green and blue with alpha 0.
constexpr uint32_t raster_color(Color c) {
    return c & 0x00FFFFFFu;
}

}  // namespace gfx::detail
