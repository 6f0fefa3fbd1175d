// The blend word formula, the vector kernels against the scalar ones, and
// blend clipping.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "gfx/blend.h"
#include "gfx/tests/test_util.h"

namespace gfx {
namespace {

using detail::blend_pixel;
using test::make_image;

struct FormulaCase {
    uint32_t d, s, a, want;
};

TEST(GfxBlend, WordFormula) {
    const FormulaCase cases[] = {
        {0xFF000000, 0xFFFFFFFF, 255, 0xFFFEFEFE},  // white over black never reaches white
        {0x00000000, 0xFFFFFFFF, 255, 0x00FEFEFE},  // destination alpha is kept
        {0xFFFFFFFF, 0xFF000000, 255, 0xFF000000},  // black over white reaches black
        {0x12345678, 0xFFFFFFFF, 0, 0x12345678},
        {0x00000000, 0xFF808080, 128, 0x00404040},
        {0x80102030, 0x00F0E0D0, 64, 0x80485058},
        {0xFF00FF00, 0xFFFF00FF, 1, 0xFF00FE00},  // wrap-around borrows across channels
        {0x7F7F7F7F, 0x01010101, 254, 0x7F010101},
        {0x00FF0000, 0x0000FF00, 200, 0x0037C700},
    };
    for (const FormulaCase& c : cases) {
        EXPECT_EQ(blend_pixel(c.d, c.s, c.a), c.want)
            << std::hex << c.d << " " << c.s << " " << c.a;
    }
}

TEST(GfxBlend, PublicBlendsOnImages) {
    auto white = make_image(2, 1);
    white->pixels = {0xFFFFFFFF, 0x80FFFFFF};
    auto dst = make_image(2, 1);
    dst->pixels = {0xFF000000, 0x00000000};
    putimage_alphablend(dst.get(), white.get(), 0, 0, 255);
    EXPECT_EQ(dst->pixels, (std::vector<uint32_t>{0xFFFEFEFE, 0x00FEFEFE}));

    dst->pixels = {0xFF000000, 0x00000000};
    putimage_srcalpha(dst.get(), white.get(), 0, 0);
    EXPECT_EQ(dst->pixels, (std::vector<uint32_t>{0xFFFEFEFE, 0x007F7F7F}));

    // Key 0xFF000000 compares colour only: transparent and opaque black are
    // both skipped.
    auto keyed = make_image(3, 1);
    keyed->pixels = {0x00000000, 0xFF000000, 0x00FFFFFF};
    auto bg = make_image(3, 1);
    bg->pixels = {0xFF102030, 0xFF102030, 0xFF102030};
    putimage_keyed_alphablend(bg.get(), keyed.get(), 0, 0, 0xFF000000, 255);
    EXPECT_EQ(bg->pixels, (std::vector<uint32_t>{0xFF102030, 0xFF102030,
                                                 blend_pixel(0xFF102030, 0x00FFFFFF, 255)}));
}

std::vector<const detail::BlendKernels*> vector_kernels() {
    std::vector<const detail::BlendKernels*> v{detail::sse2_kernels()};
    if (detail::avx2_kernels() != nullptr) v.push_back(detail::avx2_kernels());
    return v;
}

TEST(GfxBlend, ForcedScalarChoosesScalar) {
    EXPECT_EQ(&detail::choose_kernels(true), &detail::scalar_kernels());
    EXPECT_NE(&detail::choose_kernels(false), &detail::scalar_kernels());
}

// Every alpha, every row length up to 67 (all tail lengths of an 8-wide
// step) and start offsets 0..3 words, on random words that include the key.
TEST(GfxBlend, VectorKernelsEqualScalarOnRandomRows) {
    const detail::BlendKernels& ref = detail::scalar_kernels();
    std::mt19937 rng(1234);
    std::vector<uint32_t> src(80), base(80), want(80), got(80);
    const uint32_t key = 0xFF000000;
    for (const detail::BlendKernels* k : vector_kernels()) {
        for (uint32_t alpha = 0; alpha < 256; ++alpha) {
            for (int n = 0; n <= 67; n += (alpha % 2 == 0 ? 1 : 3)) {
                const int off = (n + alpha) % 4;
                for (auto& w : src) w = rng() % 5 == 0 ? (rng() & 0xFF000000u) : rng();
                for (auto& w : base) w = rng();
                want = base, got = base;
                ref.constant(want.data() + off, src.data() + off, n, alpha);
                k->constant(got.data() + off, src.data() + off, n, alpha);
                ASSERT_EQ(want, got) << k->name << " constant a=" << alpha << " n=" << n;
                want = base, got = base;
                ref.keyed(want.data() + off, src.data() + off, n, key, alpha);
                k->keyed(got.data() + off, src.data() + off, n, key, alpha);
                ASSERT_EQ(want, got) << k->name << " keyed a=" << alpha << " n=" << n;
                for (auto& w : src) w = (w & 0x00FFFFFFu) | (alpha << 24);
                want = base, got = base;
                ref.src_alpha(want.data() + off, src.data() + off, n);
                k->src_alpha(got.data() + off, src.data() + off, n);
                ASSERT_EQ(want, got) << k->name << " src_alpha a=" << alpha << " n=" << n;
            }
        }
    }
}

// All 65,536 (source, destination) byte pairs in every channel at every
// alpha: the vector kernels work per channel, and this is where that would
// show if a carry ever crossed channels.
TEST(GfxBlend, VectorKernelsEqualScalarOnAllChannelPairs) {
    std::vector<uint32_t> src(65536), dst(65536);
    for (uint32_t i = 0; i < 65536; ++i) {
        const uint32_t s = i >> 8, d = i & 0xFF;
        src[i] = (s << 24) | (s << 16) | (d << 8) | s;
        dst[i] = (d << 24) | (d << 16) | (s << 8) | d;
    }
    for (const detail::BlendKernels* k : vector_kernels()) {
        for (uint32_t alpha = 0; alpha < 256; ++alpha) {
            std::vector<uint32_t> want = dst, got = dst;
            detail::scalar_kernels().constant(want.data(), src.data(), 65536, alpha);
            k->constant(got.data(), src.data(), 65536, alpha);
            ASSERT_EQ(want, got) << k->name << " a=" << alpha;
        }
    }
}

TEST(GfxBlend, ClipsToViewportAndShiftsSource) {
    auto src = make_image(4, 3);
    for (int i = 0; i < 12; ++i) src->pixels[i] = 0xFF000000u | (i + 1);
    auto dst = make_image(6, 5);
    const std::vector<uint32_t> blank = dst->pixels;
    set_viewport(2, 1, 5, 4, 1, dst.get());
    // (-3, -2) from the viewport origin is (-1, -1) in the image: one source
    // column and row land inside the viewport, at its corner.
    putimage_alphablend(dst.get(), src.get(), -3, -2, 255);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const uint32_t v = dst->pixels[y * 6 + x];
            if (x == 2 && y == 1) {
                EXPECT_EQ(v, blend_pixel(0xFF000000, src->pixels[2 * 4 + 3], 255));
            } else {
                EXPECT_EQ(v, blank[y * 6 + x]) << x << "," << y;
            }
        }
    }
    // A source rectangle and the right/bottom edges: 2x2 from (1,1) at
    // viewport (2,2) -> image (4,3); only the column at x=4 fits.
    dst->pixels = blank;
    putimage_srcalpha(dst.get(), src.get(), 2, 2, 1, 1, 2, 2);
    int changed = 0;
    for (uint32_t v : dst->pixels) changed += v != 0xFF000000u;
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(dst->pixels[3 * 6 + 4], blend_pixel(0xFF000000, src->pixels[1 * 4 + 1], 255));
    // Source coordinates past the source draw nothing and read nothing.
    dst->pixels = blank;
    putimage_alphablend(dst.get(), src.get(), 0, 0, 255, 10, 10, 0, 0);
    putimage_alphablend(dst.get(), src.get(), 0, 0, 255, -10, 0, 4, 3);
    EXPECT_EQ(dst->pixels, blank);
}

TEST(GfxBlur, FourNeighbourFilterOnKnownImage) {
    auto im = make_image(3, 3);
    im->pixels[4] = 0xFFFFFFFF;
    EXPECT_EQ(imagefilter_blurring(im.get(), 127, 256), 0);
    // Strength 254 of 256 towards the neighbours' average: the centre's four
    // neighbours are black, an edge pixel's three are one white of three,
    // a corner's two are black.
    const std::vector<uint32_t> want = {0xFF000000, 0xFF545454, 0xFF000000, 0xFF545454, 0xFF010101,
                                        0xFF545454, 0xFF000000, 0xFF545454, 0xFF000000};
    EXPECT_EQ(im->pixels, want);

    auto flat = make_image(5, 4);
    std::fill(flat->pixels.begin(), flat->pixels.end(), 0xFF6A7B8C);
    imagefilter_blurring(flat.get(), 127, 256);
    EXPECT_EQ(flat->pixels, std::vector<uint32_t>(20, 0xFF6A7B8C)) << "no darkening";
}

TEST(GfxBlur, RectangleIsCutToImage) {
    auto im = make_image(4, 4);
    im->pixels[0] = 0xFFFFFFFF;
    EXPECT_EQ(imagefilter_blurring(im.get(), 127, 256, 4, 0), kEmptyRect);
    EXPECT_EQ(imagefilter_blurring(im.get(), 127, 256, -2, -2, 3, 3), 0);
    // Only the 1x1 corner remained: it has no neighbours inside and stays.
    EXPECT_EQ(im->pixels[0], 0xFFFFFFFFu);
    EXPECT_EQ(im->pixels[1], 0xFF000000u);
    // A 2x1 strip: each pixel's only neighbour is the other.
    EXPECT_EQ(imagefilter_blurring(im.get(), 128, 256, 0, 0, 2, 1), 0);
    EXPECT_EQ(im->pixels[0], 0xFF000000u);
    EXPECT_EQ(im->pixels[1], 0xFFFFFFFFu);
}

}  // namespace
}  // namespace gfx
