// Text measured and drawn through the installed faces. The assertions hold
// for any CJK face the machine has: ink only inside the measured extent, one
// run of ink per character, and the height and width rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gfx/font.h"
#include "gfx/tests/test_util.h"

namespace gfx {
namespace {

using test::make_image;

// GBK bytes, written escaped so the source stays UTF-8.
const char kYaHei[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";  // 微软雅黑
const char kSong[] = "\xCB\xCE\xCC\xE5";                   // 宋体
const char kHello[] = "\xC4\xE3\xBA\xC3\xCA\xC0\xBD\xE7";  // 你好世界
const char kNiHao[] = "\xC4\xE3\xBA\xC3";                  // 你好

constexpr uint32_t kWhite = 0xFFFFFFFF;

struct Ink {
    int count = 0;
    int outside = 0;
    bool alpha_zero = true;
};

// Counts pixels that are no longer white, inside and outside a rectangle.
Ink ink_in(const IMAGE* im, int x0, int y0, int x1, int y1) {
    Ink ink;
    for (int y = 0; y < im->height; ++y) {
        for (int x = 0; x < im->width; ++x) {
            const uint32_t p = im->pixels[y * im->width + x];
            if (p == kWhite) continue;
            const bool inside = x >= x0 && x < x1 && y >= y0 && y < y1;
            (inside ? ink.count : ink.outside)++;
            ink.alpha_zero = ink.alpha_zero && (p >> 24) == 0;
        }
    }
    return ink;
}

test::ImagePtr white_canvas(int w, int h) {
    auto im = make_image(w, h);
    set_bk_color(kWhite, im.get());
    set_color(0xFF000000, im.get());
    set_bk_mode(kTransparent, im.get());
    return im;
}

TEST(GfxText, ChineseLineInkStaysInsideItsExtent) {
    for (const char* face : {kYaHei, kSong}) {
        auto im = white_canvas(160, 40);
        set_font(16, 0, face, im.get());
        const int w = text_width(kHello, im.get()), h = text_height(kHello, im.get());
        EXPECT_EQ(h, 16) << "positive height is the cell height";
        EXPECT_GE(w, 4 * 10);
        EXPECT_LE(w, 4 * 20);
        text_out(10, 5, kHello, im.get());
        const Ink ink = ink_in(im.get(), 10, 5, 10 + w, 5 + h);
        EXPECT_GT(ink.count, 40);
        EXPECT_EQ(ink.outside, 0);
        EXPECT_TRUE(ink.alpha_zero) << "text writes colour with alpha 0";
        // Every character drew something in its own quarter of the line.
        for (int i = 0; i < 4; ++i) {
            EXPECT_GT(ink_in(im.get(), 10 + i * w / 4, 5, 10 + (i + 1) * w / 4, 5 + h).count, 5)
                << "character " << i;
        }
    }
}

TEST(GfxText, OpaqueModeFillsTheCell) {
    auto im = white_canvas(100, 30);
    set_font(-14, 0, kYaHei, im.get());
    set_bk_mode(kOpaque, im.get());
    set_text_bk_color(0xFF0000FF, im.get());
    text_out(3, 4, "Ab", im.get());
    const int w = text_width("Ab", im.get()), h = text_height("Ab", im.get());
    EXPECT_GE(h, 14) << "negative height is the character height; the cell adds leading";
    const Ink ink = ink_in(im.get(), 3, 4, 3 + w, 4 + h);
    EXPECT_EQ(ink.count, w * h);
    EXPECT_EQ(ink.outside, 0);
    EXPECT_EQ(im->pixels[4 * 100 + 3] & 0x00FFFFFFu, 0x0000FFu);
}

TEST(GfxText, TwoByteCharactersAreNeverSplit) {
    auto im = white_canvas(10, 10);
    set_font(16, 0, kYaHei, im.get());
    // A lead byte takes the byte after it, whatever that is: a pair that is
    // no character draws as one replacement mark, like a lead byte at the end.
    const int mark = text_width("\xC4", im.get());
    EXPECT_GT(mark, 0);
    EXPECT_EQ(text_width("\xC4!", im.get()), mark);
    EXPECT_EQ(text_width("\x81\x20", im.get()), mark);
    const std::string cut = std::string(kNiHao) + "\xC4";
    EXPECT_EQ(text_width(cut.c_str(), im.get()), text_width(kNiHao, im.get()) + mark);
}

TEST(GfxText, BoldFixedPitchAndMonospaceFaces) {
    auto im = white_canvas(200, 30);
    set_font(20, 0, kYaHei, im.get());
    FontRecord r;
    get_font_record(&r, im.get());
    EXPECT_EQ(r.height, 20);
    const int normal = text_width(kHello, im.get());
    text_out(0, 0, kHello, im.get());
    const int normal_ink = ink_in(im.get(), 0, 0, 200, 30).count;
    r.weight = 700;
    set_font_record(&r, im.get());
    clear_image(im.get());
    text_out(0, 0, kHello, im.get());
    EXPECT_GE(text_width(kHello, im.get()), normal);
    EXPECT_GT(ink_in(im.get(), 0, 0, 200, 30).count, normal_ink) << "bold draws heavier strokes";

    r.weight = 0;
    r.width = 7;
    set_font_record(&r, im.get());
    EXPECT_EQ(text_width("ab", im.get()), 14) << "fixed pitch: 7 per byte";
    EXPECT_EQ(text_width(kNiHao, im.get()), 28);

    set_font(16, 0, "Consolas", im.get());
    EXPECT_EQ(text_width("iiii", im.get()), text_width("WWWW", im.get()));
}

TEST(GfxText, ClippedToViewportAndAligned) {
    auto im = white_canvas(120, 40);
    set_font(16, 0, kYaHei, im.get());
    const int w = text_width(kHello, im.get());
    set_viewport(20, 10, 40, 30, 1, im.get());
    text_out(-5, 0, kHello, im.get());
    const Ink ink = ink_in(im.get(), 20, 10, 40, 30);
    EXPECT_GT(ink.count, 0);
    EXPECT_EQ(ink.outside, 0);

    auto right = white_canvas(120, 40);
    set_font(16, 0, kYaHei, right.get());
    set_text_align(kAlignRight, kAlignBottom, right.get());
    text_out(100, 30, kHello, right.get());
    const Ink r = ink_in(right.get(), 100 - w, 30 - 16, 100, 30);
    EXPECT_GT(r.count, 0);
    EXPECT_EQ(r.outside, 0);
}

TEST(GfxText, CachedGlyphsAreNotRenderedAgain) {
    auto im = white_canvas(100, 30);
    set_font(15, 0, kYaHei, im.get());
    text_out(0, 0, kHello, im.get());
    FontFace* face = im->state.face;
    ASSERT_NE(face, nullptr);
    const size_t cached = face->glyphs->others.size();
    const uint8_t* first = face->glyphs->others.begin()->second.coverage.data();
    text_out(0, 0, kHello, im.get());
    EXPECT_EQ(im->state.face, face);
    EXPECT_EQ(face->glyphs->others.size(), cached);
    EXPECT_EQ(face->glyphs->others.begin()->second.coverage.data(), first);
}

// Forty records of one face at twelve sizes, some of them bold, open the
// face file once; records that render alike share their glyphs.
TEST(GfxText, FacesAreSharedPerFileAndSize) {
    FontRecord base{};
    std::memcpy(base.face, kYaHei, sizeof kYaHei);
    FT_Face file = nullptr;
    for (int i = 0; i < 40; ++i) {
        FontRecord r = base;
        r.height = 12 + i % 12;
        r.weight = i % 3 == 0 ? 700 : 0;
        r.char_set = static_cast<uint8_t>(i);  // makes each record distinct
        FontFace* face = detail::face_for(r);
        ASSERT_NE(face, nullptr);
        if (file == nullptr) file = face->primary;
        EXPECT_EQ(face->primary, file) << "record " << i;
    }
    FontRecord a = base, b = base;
    a.height = b.height = 17;
    b.escapement = 1;
    FontFace* fa = detail::face_for(a);
    FontFace* fb = detail::face_for(b);
    EXPECT_NE(fa, fb);
    EXPECT_EQ(fa->primary_size, fb->primary_size);
    EXPECT_EQ(fa->glyphs, fb->glyphs);
    b.height = 18;
    EXPECT_NE(detail::face_for(b)->glyphs, fa->glyphs);
}

// An emboldened face moves the pen on by the width it added to each glyph,
// once, in proportional and in fixed-pitch text alike.
TEST(GfxText, SyntheticBoldAddsItsWidthToTheAdvance) {
    auto im = white_canvas(300, 40);
    FontRecord r{};
    std::memcpy(r.face, kYaHei, sizeof kYaHei);
    r.height = 24;
    set_font_record(&r, im.get());
    const int regular = text_width(kHello, im.get());
    r.weight = 700;
    set_font_record(&r, im.get());
    const int bold = text_width(kHello, im.get());
    if (!detail::face_for(r)->synth_bold) GTEST_SKIP() << "the machine has a real bold face";
    // Emboldening at 24 px adds about 0.8 pixels to each of the four
    // characters: once makes three to six pixels, twice would make more.
    EXPECT_GE(bold, regular + 3);
    EXPECT_LE(bold, regular + 6);

    r.width = 7;
    set_font_record(&r, im.get());
    const int fixed = text_width("ab", im.get());
    EXPECT_GT(fixed, 14) << "fixed pitch keeps the bold width";
    EXPECT_LE(fixed, 18);
}

}  // namespace
}  // namespace gfx
