// The rasteriser: end points, styles, thickness, outlines, circles, flood
// fill, clipping, and the alpha-0 rule of rasterised drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "gfx/tests/test_util.h"

namespace gfx {
namespace {

using test::make_image;
using Points = std::set<std::pair<int, int>>;

constexpr uint32_t kInk = 0xFF3366CC;

test::ImagePtr canvas(int w, int h) {
    auto im = make_image(w, h);
    set_color(kInk, im.get());
    return im;
}

// Pixels that were drawn (all carry the ink colour with alpha 0).
Points drawn(const IMAGE* im) {
    Points p;
    for (int y = 0; y < im->height; ++y) {
        for (int x = 0; x < im->width; ++x) {
            const uint32_t v = im->pixels[y * im->width + x];
            if (v == 0xFF000000u) continue;
            EXPECT_EQ(v, kInk & 0x00FFFFFFu) << x << "," << y;
            p.emplace(x, y);
        }
    }
    return p;
}

TEST(GfxRaster, LinesLeaveOutTheirEndPoint) {
    struct Case {
        int x1, y1, x2, y2;
        Points want;
    } cases[] = {
        {1, 1, 4, 1, {{1, 1}, {2, 1}, {3, 1}}},
        {4, 1, 1, 1, {{4, 1}, {3, 1}, {2, 1}}},
        {2, 0, 2, 3, {{2, 0}, {2, 1}, {2, 2}}},
        {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
        {0, 4, 4, 2, {{0, 4}, {1, 3}, {2, 3}, {3, 2}}},  // halves round along the line
        {3, 3, 3, 3, {}},
    };
    for (const Case& c : cases) {
        auto im = canvas(6, 6);
        draw_line(c.x1, c.y1, c.x2, c.y2, im.get());
        EXPECT_EQ(drawn(im.get()), c.want) << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
    }
}

// Lengths of the runs of drawn pixels along row 0.
std::vector<int> runs(const IMAGE* im) {
    std::vector<int> r;
    int n = 0;
    for (int x = 0; x < im->width; ++x) {
        if (im->pixels[x] != 0xFF000000u) {
            ++n;
        } else if (n > 0) {
            r.push_back(n), n = 0;
        }
    }
    if (n > 0) r.push_back(n);
    return r;
}

TEST(GfxRaster, StylesAndThickness) {
    auto dashed = canvas(60, 3);
    set_line_style(kDashedLine, 0, 1, dashed.get());
    draw_line(0, 0, 60, 0, dashed.get());
    const std::vector<int> d = runs(dashed.get());
    ASSERT_GE(d.size(), 3u);
    EXPECT_GT(d[0], 2) << "dashes are longer than dots";

    auto dotted = canvas(60, 3);
    set_line_style(kDottedLine, 0, 1, dotted.get());
    draw_line(0, 0, 60, 0, dotted.get());
    const std::vector<int> t = runs(dotted.get());
    EXPECT_GE(t.size(), 10u);
    EXPECT_EQ(*std::max_element(t.begin(), t.end()), 1);

    auto user = canvas(32, 3);
    set_line_style(kUserLine, 0x00FF, 1, user.get());
    draw_line(0, 0, 32, 0, user.get());
    EXPECT_EQ(runs(user.get()), (std::vector<int>{8, 8}));

    auto none = canvas(10, 3);
    set_line_style(kNullLine, 0, 1, none.get());
    draw_line(0, 0, 10, 0, none.get());
    EXPECT_TRUE(drawn(none.get()).empty());

    auto thick = canvas(10, 6);
    set_line_style(kSolidLine, 0, 2, thick.get());
    draw_line(1, 2, 8, 2, thick.get());
    const Points p = drawn(thick.get());
    EXPECT_TRUE(p.count({4, 2}) && p.count({4, 3})) << "two rows thick";
    EXPECT_FALSE(p.count({4, 1}) || p.count({4, 4}));
}

TEST(GfxRaster, RectangleOutlineCoversLeftToRightMinusOne) {
    auto im = canvas(8, 8);
    draw_rectangle(1, 2, 5, 6, im.get());
    Points want;
    for (int x = 1; x <= 4; ++x) want.insert({x, 2}), want.insert({x, 5});
    for (int y = 2; y <= 5; ++y) want.insert({1, y}), want.insert({4, y});
    EXPECT_EQ(drawn(im.get()), want);
}

TEST(GfxRaster, CircleLiesOnItsRadius) {
    auto im = canvas(40, 40);
    draw_circle(20, 19, 12, im.get());
    const Points p = drawn(im.get());
    EXPECT_GT(p.size(), 60u);
    for (const auto& [x, y] : p) EXPECT_LT(std::abs(std::hypot(x - 20, y - 19) - 12), 0.75);
    EXPECT_TRUE(p.count({32, 19}) && p.count({8, 19}) && p.count({20, 7}) && p.count({20, 31}));
}

TEST(GfxRaster, FloodFillStopsAtBorderColourWhateverItsAlpha) {
    auto im = canvas(10, 10);
    draw_rectangle(2, 2, 8, 8, im.get());   // border written with alpha 0
    put_pixel(4, 4, 0xFF00FF00, im.get());  // interior already holds the fill colour
    set_fill_color(0xFF00FF00, im.get());
    flood_fill(5, 5, kInk, im.get());  // border passed with alpha 0xFF
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const uint32_t v = im->pixels[y * 10 + x];
            const bool border =
                (x == 2 || x == 7 || y == 2 || y == 7) && x >= 2 && x <= 7 && y >= 2 && y <= 7;
            const bool inside = x > 2 && x < 7 && y > 2 && y < 7;
            const uint32_t want = border ? 0x003366CC : inside ? 0x0000FF00 : 0xFF000000;
            EXPECT_EQ(v, want) << x << "," << y;
        }
    }
    // Starting on the border fills nothing.
    const std::vector<uint32_t> before = im->pixels;
    set_fill_color(0xFFFFFFFF, im.get());
    flood_fill(2, 5, kInk, im.get());
    EXPECT_EQ(im->pixels, before);
}

TEST(GfxRaster, ClippingBoundsWorkForFarCoordinates) {
    auto im = canvas(20, 10);
    set_viewport(5, 2, 15, 8, 1, im.get());
    draw_line(-1000000000, 1, 1000000000, 1, im.get());
    draw_circle(0, 0, 1000, im.get());
    Points want;
    for (int x = 5; x < 15; ++x) want.insert({x, 3});
    EXPECT_EQ(drawn(im.get()), want);
}

TEST(GfxRandom, MersenneTwisterOutputs) {
    random_seed(5489);
    EXPECT_EQ(random_u32(), 3499211612u) << "the generator's first word for its default seed";
    for (int i = 0; i < 1000; ++i) {
        EXPECT_LT(random_u32(10), 10u);
        const double u = random_unit();
        EXPECT_GE(u, 0.0);
        EXPECT_LT(u, 1.0);
    }
}

}  // namespace
}  // namespace gfx
