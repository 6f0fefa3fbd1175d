// One seeded scene through blends, blur and the rasteriser, pinned by its
// FNV-1a hash. It runs with the vector kernels and again with
// ND_FORCE_SCALAR=1 (a second ctest entry), so both paths must give it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "gfx/blend.h"
#include "gfx/tests/test_util.h"

namespace gfx {
namespace {

uint32_t fnv1a(const std::vector<uint32_t>& words) {
    uint32_t h = 2166136261u;
    for (uint32_t w : words) {
        for (int i = 0; i < 4; ++i) {
            h ^= (w >> (8 * i)) & 0xFF;
            h *= 16777619u;
        }
    }
    return h;
}

TEST(GfxScene, SeededSceneHash) {
    std::mt19937 rng(20100916);
    auto dst = test::make_image(97, 61);
    auto src = test::make_image(45, 33);
    for (auto& p : dst->pixels) p = rng();
    for (auto& p : src->pixels) p = rng() % 7 == 0 ? 0xFF000000u : rng();
    for (int i = 0; i < 12; ++i) {
        const int x = static_cast<int>(rng() % 120) - 30, y = static_cast<int>(rng() % 80) - 20;
        const int alpha = static_cast<int>(rng() % 256);
        putimage_alphablend(dst.get(), src.get(), x, y, alpha);
        putimage_keyed_alphablend(dst.get(), src.get(), y, x, 0xFF000000u, alpha, 3, 2, 30, 20);
        putimage_srcalpha(dst.get(), src.get(), x + 7, y - 5);
    }
    set_viewport(5, 4, 90, 57, 1, dst.get());
    set_color(0xFF20C040, dst.get());
    set_line_style(kDashedLine, 0, 2, dst.get());
    draw_line(-10, 3, 100, 50, dst.get());
    draw_circle(40, 25, 18, dst.get());
    set_fill_color(0xFFC02040, dst.get());
    flood_fill(40, 25, 0xFF20C040, dst.get());
    imagefilter_blurring(dst.get(), 127, 256, 10, 10, 60, 40);
    EXPECT_EQ(fnv1a(dst->pixels), 0x76B92FA3u) << std::hex << fnv1a(dst->pixels);
}

TEST(GfxScene, EnvironmentSwitchForcesScalar) {
    const char* v = std::getenv("ND_FORCE_SCALAR");
    if (v == nullptr || std::strcmp(v, "1") != 0) GTEST_SKIP() << "runs under ND_FORCE_SCALAR=1";
    EXPECT_EQ(&detail::blend_kernels(), &detail::scalar_kernels());
}

}  // namespace
}  // namespace gfx
