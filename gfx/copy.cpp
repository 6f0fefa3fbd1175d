// Plain and stretched copies between images, and grabbing a rectangle of the
// current target.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "gfx/internal.h"

namespace gfx {
namespace {

constexpr uint32_t kSrcAnd = 0x8800C6;
constexpr uint32_t kSrcPaint = 0xEE0086;
constexpr uint32_t kSrcInvert = 0x660046;
constexpr uint32_t kNotSrcCopy = 0x330008;

uint32_t apply_op(uint32_t op, uint32_t s, uint32_t d) {
    switch (op) {
        case kSrcAnd:
            return s & d;
        case kSrcPaint:
            return s | d;
        case kSrcInvert:
            return s ^ d;
        case kNotSrcCopy:
            return ~s;
        default:
            return s;
    }
}

// Copies rows of width words; handles a source and target that are the same
// image by choosing the row order and moving rows with memmove.
void copy_rect(IMAGE* dst, int dx, int dy, const IMAGE* src, int sx, int sy, int w, int h,
               uint32_t op) {
    const bool bottom_up = src == dst && dy > sy;
    for (int i = 0; i < h; ++i) {
        const int row = bottom_up ? h - 1 - i : i;
        uint32_t* d = &dst->pixels[static_cast<size_t>(dy + row) * dst->width + dx];
        const uint32_t* s = &src->pixels[static_cast<size_t>(sy + row) * src->width + sx];
        if (op == kSrcCopy) {
            std::memmove(d, s, static_cast<size_t>(w) * 4);
        } else if (src == dst && dx > sx && dy == sy) {
            for (int x = w - 1; x >= 0; --x) d[x] = apply_op(op, s[x], d[x]);
        } else {
            for (int x = 0; x < w; ++x) d[x] = apply_op(op, s[x], d[x]);
        }
    }
}

// The drawing clip of the target, never reaching outside its pixels.
Rect copy_clip(const IMAGE* dst) {
    return detail::draw_clip(dst).intersect(Rect{0, 0, dst->width, dst->height});
}

}  // namespace

void putimage(int x, int y, const IMAGE* source, uint32_t raster_op, IMAGE* target) {
    if (source == nullptr) return;
    if (source->mark != kImageMark) fatal_bad_image(source, "IMAGE::putimage");
    IMAGE* dst = detail::resolve(target, "IMAGE::putimage");
    if (dst == nullptr) return;
    assert(raster_op == kSrcCopy || raster_op == kSrcAnd || raster_op == kSrcPaint ||
           raster_op == kSrcInvert || raster_op == kNotSrcCopy);
    x += dst->state.viewport.area.x;
    y += dst->state.viewport.area.y;
    const Rect clip = copy_clip(dst);
    const int x0 = std::max(x, clip.x), y0 = std::max(y, clip.y);
    const int x1 = std::min(x + source->width, clip.right());
    const int y1 = std::min(y + source->height, clip.bottom());
    if (x0 >= x1 || y0 >= y1) return;
    copy_rect(dst, x0, y0, source, x0 - x, y0 - y, x1 - x0, y1 - y0, raster_op);
    detail::touched(dst);
}

void putimage(int x, int y, int width, int height, const IMAGE* source, int source_x, int source_y,
              int source_width, int source_height, uint32_t raster_op, IMAGE* target) {
    if (source == nullptr) return;
    if (source->mark != kImageMark) fatal_bad_image(source, "IMAGE::putimage");
    IMAGE* dst = detail::resolve(target, "IMAGE::putimage");
    if (dst == nullptr) return;
    if (width <= 0 || height <= 0 || source_width <= 0 || source_height <= 0) return;
    x += dst->state.viewport.area.x;
    y += dst->state.viewport.area.y;
    const Rect clip = copy_clip(dst);
    const int x0 = std::max(x, clip.x), y0 = std::max(y, clip.y);
    const int x1 = static_cast<int>(std::min<int64_t>(int64_t{x} + width, clip.right()));
    const int y1 = static_cast<int>(std::min<int64_t>(int64_t{y} + height, clip.bottom()));
    if (x0 >= x1 || y0 >= y1) return;
    if (width == source_width && height == source_height && source != dst) {
        // Same size: a plain copy of the part of the source rectangle that exists.
        const int sx0 = std::max(source_x + (x0 - x), 0);
        const int sy0 = std::max(source_y + (y0 - y), 0);
        const int dx0 = x0 + (sx0 - (source_x + (x0 - x)));
        const int dy0 = y0 + (sy0 - (source_y + (y0 - y)));
        const int w = std::min(x1 - dx0, source->width - sx0);
        const int h = std::min(y1 - dy0, source->height - sy0);
        if (w > 0 && h > 0) copy_rect(dst, dx0, dy0, source, sx0, sy0, w, h, raster_op);
        detail::touched(dst);
        return;
    }
    // Nearest-neighbour stretch; destination pixels whose source falls
    // outside the source image are left alone. A copy of the source guards
    // against stretching an image onto itself.
    const IMAGE* src = source;
    IMAGE copy;
    if (source == dst) {
        copy.mark = kImageMark;
        copy.width = source->width;
        copy.height = source->height;
        copy.pixels = source->pixels;
        src = &copy;
    }
    for (int dy = y0; dy < y1; ++dy) {
        const int64_t sy = source_y + (int64_t{dy - y} * source_height) / height;
        if (sy < 0 || sy >= src->height) continue;
        uint32_t* d = &dst->pixels[static_cast<size_t>(dy) * dst->width];
        const uint32_t* s = &src->pixels[static_cast<size_t>(sy) * src->width];
        for (int dx = x0; dx < x1; ++dx) {
            const int64_t sx = source_x + (int64_t{dx - x} * source_width) / width;
            if (sx < 0 || sx >= src->width) continue;
            d[dx] = apply_op(raster_op, s[sx], d[dx]);
        }
    }
    detail::touched(dst);
}

int getimage(IMAGE* image, int x, int y, int width, int height) {
    if (image == nullptr) fatal_internal("Fatal Error: pass NULL to `gfx::getimage`");
    if (image->mark != kImageMark) fatal_bad_image(image, "IMAGE::getimage");
    const IMAGE* src = detail::resolve(static_cast<const IMAGE*>(nullptr), "IMAGE::getimage");
    resize(image, width, height);
    if (src == nullptr || src == image) return 0;
    x += src->state.viewport.area.x;
    y += src->state.viewport.area.y;
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + image->width, src->width);
    const int y1 = std::min(y + image->height, src->height);
    if (x0 >= x1 || y0 >= y1) return 0;
    copy_rect(image, x0 - x, y0 - y, src, x0, y0, x1 - x0, y1 - y0, kSrcCopy);
    return 0;
}

}  // namespace gfx
