// The blur filter: each pixel moves towards the average of its neighbours
// inside the rectangle, read as they were before the pass, by the blend's
// own word formula.
#include <algorithm>
#include <vector>

#include "gfx/blend.h"
#include "gfx/internal.h"

namespace gfx {
namespace {

// The average of n neighbour words (n <= 8), per channel, alpha 0. Red and
// blue are summed together: eight bytes sum to at most 2040, so the channels
// never touch.
inline uint32_t average(uint32_t rb_sum, uint32_t g_sum, uint32_t n) {
    if (n == 4) return ((rb_sum >> 2) & 0x00FF00FFu) | ((g_sum >> 2) & 0x0000FF00u);
    const uint32_t r = (rb_sum >> 16) / n, b = (rb_sum & 0xFFFFu) / n, g = (g_sum >> 8) / n;
    return (r << 16) | (g << 8) | b;
}

struct Acc {
    uint32_t rb = 0, g = 0, n = 0;
    void add(uint32_t p) {
        rb += p & 0x00FF00FFu;
        g += p & 0x0000FF00u;
        ++n;
    }
};

// One pass over rows y0..y1-1, columns x0..x1-1 of `im`. `eight` adds the
// diagonal neighbours. The rows above and the current row are kept as they
// were before filtering; the row below is still untouched in the image.
void filter(IMAGE* im, int x0, int y0, int x1, int y1, uint32_t weight, bool eight) {
    const int w = x1 - x0;
    std::vector<uint32_t> above(w), current(w);
    for (int y = y0; y < y1; ++y) {
        uint32_t* row = &im->pixels[static_cast<size_t>(y) * im->width + x0];
        const uint32_t* below = y + 1 < y1 ? row + im->width : nullptr;
        std::copy(row, row + w, current.begin());
        const bool has_above = y > y0;
        for (int i = 0; i < w; ++i) {
            Acc acc;
            const bool left = i > 0, right = i + 1 < w;
            if (left) acc.add(current[i - 1]);
            if (right) acc.add(current[i + 1]);
            if (has_above) {
                acc.add(above[i]);
                if (eight && left) acc.add(above[i - 1]);
                if (eight && right) acc.add(above[i + 1]);
            }
            if (below != nullptr) {
                acc.add(below[i]);
                if (eight && left) acc.add(below[i - 1]);
                if (eight && right) acc.add(below[i + 1]);
            }
            if (acc.n == 0) continue;
            row[i] = detail::blend_pixel(current[i], average(acc.rb, acc.g, acc.n), weight);
        }
        above.swap(current);
    }
}

}  // namespace

int imagefilter_blurring(IMAGE* image, int intensity, int alpha, int x, int y, int width,
                         int height) {
    IMAGE* im = detail::resolve(image, "IMAGE::imagefilter_blurring");
    if (im == nullptr) return 0;
    if (width == 0) width = im->width - x;
    if (height == 0) height = im->height - y;
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = static_cast<int>(std::min<int64_t>(int64_t{x} + width, im->width));
    const int y1 = static_cast<int>(std::min<int64_t>(int64_t{y} + height, im->height));
    if (x0 >= x1 || y0 >= y1) return kEmptyRect;
    const int i = std::clamp(intensity, 0, 255);
    const uint32_t k = (alpha >= 0 && alpha <= 256) ? static_cast<uint32_t>(alpha) : 256;
    // Neighbours together weigh strength * k / 256 (of 256); the pixel keeps
    // the rest, so a flat area stays exactly as it was.
    const bool eight = i > 128;
    const uint32_t strength = eight ? 2 * i - 256 : 2 * i;
    filter(im, x0, y0, x1, y1, (strength * k) >> 8, eight);
    detail::touched(im);
    return 0;
}

}  // namespace gfx
