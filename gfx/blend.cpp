// The three blends: clipping, the scalar row kernels that define them, and
// the choice of vector kernels made once at start.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "gfx/blend.h"
#include "gfx/internal.h"

namespace gfx {
namespace detail {
namespace {

void const_row_scalar(uint32_t* d, const uint32_t* s, int n, uint32_t alpha) {
    for (int i = 0; i < n; ++i) d[i] = blend_pixel(d[i], s[i], alpha);
}

void keyed_row_scalar(uint32_t* d, const uint32_t* s, int n, uint32_t key, uint32_t alpha) {
    for (int i = 0; i < n; ++i) {
        if ((s[i] & 0x00FFFFFFu) != (key & 0x00FFFFFFu)) d[i] = blend_pixel(d[i], s[i], alpha);
    }
}

void src_alpha_row_scalar(uint32_t* d, const uint32_t* s, int n) {
    for (int i = 0; i < n; ++i) d[i] = blend_pixel(d[i], s[i], s[i] >> 24);
}

const BlendKernels kScalar{"scalar", const_row_scalar, keyed_row_scalar, src_alpha_row_scalar};

bool env_forces_scalar() {
    const char* v = std::getenv("ND_FORCE_SCALAR");
    return v != nullptr && std::strcmp(v, "1") == 0;
}

}  // namespace

const BlendKernels& scalar_kernels() {
    return kScalar;
}

const BlendKernels& choose_kernels(bool force_scalar) {
    if (force_scalar) return kScalar;
    if (const BlendKernels* k = avx2_kernels()) return *k;
    return *sse2_kernels();
}

const BlendKernels& blend_kernels() {
    // Chosen on first use and kept for the life of the process.
    static const BlendKernels& chosen = choose_kernels(env_forces_scalar());
    return chosen;
}

}  // namespace detail

namespace {

constexpr const char* kBlendMethod = "IMAGE::putimage_alphablend";

// The part of the source that lands inside the target's viewport, in target
// and source coordinates.
struct BlendArea {
    int x, y, sx, sy, width, height;
};

bool clip_blend(const IMAGE* dst, const IMAGE* src, int x, int y, int sx, int sy, int width,
                int height, BlendArea* out) {
    const Viewport& v = dst->state.viewport;
    int64_t dx = int64_t{x} + v.area.x, dy = int64_t{y} + v.area.y;
    if (width == 0) {
        width = src->width;
        height = src->height;
    }
    // A source rectangle starting before the source moves the destination
    // along with it, so nothing outside the source is ever read.
    if (sx < 0) {
        dx -= sx;
        width += sx;
        sx = 0;
    }
    if (sy < 0) {
        dy -= sy;
        height += sy;
        sy = 0;
    }
    int64_t w = std::min({int64_t{width}, int64_t{src->width}, int64_t{src->width} - sx});
    int64_t h = std::min({int64_t{height}, int64_t{src->height}, int64_t{src->height} - sy});
    int64_t s_x = sx, s_y = sy;
    if (dx < v.area.x) {
        s_x += v.area.x - dx;
        w -= v.area.x - dx;
        dx = v.area.x;
    }
    if (dy < v.area.y) {
        s_y += v.area.y - dy;
        h -= v.area.y - dy;
        dy = v.area.y;
    }
    const int right = std::min(v.area.right(), dst->width);
    const int bottom = std::min(v.area.bottom(), dst->height);
    w = std::min(w, right - dx);
    h = std::min(h, bottom - dy);
    if (w <= 0 || h <= 0) return false;
    *out = BlendArea{static_cast<int>(dx),  static_cast<int>(dy), static_cast<int>(s_x),
                     static_cast<int>(s_y), static_cast<int>(w),  static_cast<int>(h)};
    return true;
}

// Resolves both images and clips; false when there is nothing to draw.
bool prepare(IMAGE*& target, const IMAGE* source, int x, int y, int sx, int sy, int width,
             int height, BlendArea* area) {
    if (source == nullptr) return false;
    if (source->mark != kImageMark) fatal_bad_image(source, kBlendMethod);
    target = detail::resolve(target, kBlendMethod);
    if (target == nullptr) return false;
    return clip_blend(target, source, x, y, sx, sy, width, height, area);
}

template <typename Row>
void for_rows(IMAGE* dst, const IMAGE* src, const BlendArea& a, Row row) {
    for (int r = 0; r < a.height; ++r) {
        uint32_t* d = &dst->pixels[static_cast<size_t>(a.y + r) * dst->width + a.x];
        const uint32_t* s = &src->pixels[static_cast<size_t>(a.sy + r) * src->width + a.sx];
        row(d, s, a.width);
    }
    detail::touched(dst);
}

uint32_t clamp_alpha(int alpha) {
    return static_cast<uint32_t>(std::clamp(alpha, 0, 255));
}

// Blending an image onto itself reads pixels the same pass has written; the
// scalar kernels define that order, so they handle it.
const detail::BlendKernels& kernels_for(const IMAGE* dst, const IMAGE* src) {
    return dst == src ? detail::scalar_kernels() : detail::blend_kernels();
}

}  // namespace

void putimage_alphablend(IMAGE* target, const IMAGE* source, int x, int y, int alpha, int source_x,
                         int source_y, int width, int height) {
    BlendArea a;
    if (!prepare(target, source, x, y, source_x, source_y, width, height, &a)) return;
    const auto row = kernels_for(target, source).constant;
    const uint32_t al = clamp_alpha(alpha);
    for_rows(target, source, a, [&](uint32_t* d, const uint32_t* s, int n) { row(d, s, n, al); });
}

void putimage_keyed_alphablend(IMAGE* target, const IMAGE* source, int x, int y, Color key,
                               int alpha, int source_x, int source_y, int width, int height) {
    BlendArea a;
    if (!prepare(target, source, x, y, source_x, source_y, width, height, &a)) return;
    const auto row = kernels_for(target, source).keyed;
    const uint32_t al = clamp_alpha(alpha);
    for_rows(target, source, a,
             [&](uint32_t* d, const uint32_t* s, int n) { row(d, s, n, key, al); });
}

void putimage_srcalpha(IMAGE* target, const IMAGE* source, int x, int y, int source_x, int source_y,
                       int width, int height) {
    BlendArea a;
    if (!prepare(target, source, x, y, source_x, source_y, width, height, &a)) return;
    const auto row = kernels_for(target, source).src_alpha;
    for_rows(target, source, a, [&](uint32_t* d, const uint32_t* s, int n) { row(d, s, n); });
}

}  // namespace gfx
