// Images, targets, viewports and the pixel writes that keep all 32 bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "gfx/gfx.h"

namespace gfx {
namespace {

struct ImageDeleter {
    void operator()(IMAGE* im) const { delete_image(im); }
};
using ImagePtr = std::unique_ptr<IMAGE, ImageDeleter>;

TEST(GfxImage, NewImageHasStatedDefaults) {
    ImagePtr im(new_image(0, 0));
    EXPECT_EQ(im->mark, kImageMark);
    EXPECT_EQ(image_width(im.get()), 1);
    EXPECT_EQ(image_height(im.get()), 1);
    EXPECT_EQ(im->pixels[0], 0xFF000000u);
    EXPECT_EQ(im->state.line_color, 0xFFA8A8A8u);
    EXPECT_EQ(im->state.bk_color, 0xFF000000u);
    EXPECT_EQ(im->state.bk_mode, kOpaque);
    EXPECT_EQ(im->state.font.height, 16);
    EXPECT_STREQ(im->state.font.face, "SimSun");
    EXPECT_TRUE(im->state.viewport.clip);
    EXPECT_EQ(image_width(static_cast<IMAGE*>(nullptr)), 0) << "no target, no screen page";
}

TEST(GfxImage, SetBkColorRepaintsOnlyOldBackground) {
    ImagePtr im(new_image(4, 3));
    put_pixel(1, 1, 0xFF123456, im.get());
    set_fill_color(0xFF00FF00, im.get());
    fill_bar(2, 0, 4, 1, im.get());
    set_bk_color(0xFFFFFFFF, im.get());
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            uint32_t want = 0xFFFFFFFF;
            if (x == 1 && y == 1) want = 0xFF123456;
            if (y == 0 && x >= 2) want = 0x0000FF00;  // bar writes colour with alpha 0
            EXPECT_EQ(get_pixel(x, y, im.get()), want) << x << "," << y;
        }
    }
    EXPECT_EQ(im->state.text_bk_color, 0xFFFFFFFFu);
    clear_image(im.get());
    EXPECT_EQ(get_pixel(1, 1, im.get()), 0xFFFFFFFFu);
}

TEST(GfxImage, ResizeReplacesContentOnlyWhenSizeChanges) {
    ImagePtr im(new_image(2, 2));
    set_viewport(1, 1, 2, 2, 1, im.get());
    resize(im.get(), 2, 2);
    EXPECT_EQ(im->pixels[0], 0xFF000000u) << "same size keeps the pixels";
    EXPECT_EQ(im->state.viewport.area.x, 0);
    EXPECT_EQ(im->state.viewport.area.right(), 2);
    resize(im.get(), 3, -5);
    EXPECT_EQ(im->width, 3);
    EXPECT_EQ(im->height, 0);
    resize(im.get(), 3, 1);
    EXPECT_EQ(im->pixels, std::vector<uint32_t>(3, 0u)) << "new buffer is transparent black";
}

TEST(GfxImage, ViewportMovesOriginAndClips) {
    ImagePtr im(new_image(6, 6));
    set_viewport(-3, 2, 40, 4, 1, im.get());
    const Viewport& v = im->state.viewport;
    EXPECT_EQ(v.area, Rect::from_edges(0, 2, 6, 4));
    put_pixel(0, 0, 0x11223344, im.get());
    put_pixel(0, 2, 0x55667788, im.get());  // at the viewport's bottom edge: ignored
    put_pixel(-1, 0, 0x55667788, im.get());
    EXPECT_EQ(im->pixels[2 * 6 + 0], 0x11223344u);
    EXPECT_EQ(std::count(im->pixels.begin(), im->pixels.end(), 0x55667788u), 0);
    set_fill_color(0xFFFFFFFF, im.get());
    fill_bar(-10, -10, 100, 100, im.get());
    for (int y = 0; y < 6; ++y) {
        const uint32_t want = (y == 2 || y == 3) ? 0x00FFFFFFu : 0xFF000000u;
        EXPECT_EQ(im->pixels[y * 6 + 5], want) << y;
    }
}

TEST(GfxImage, TargetAndScreenPage) {
    ImagePtr screen(new_image(4, 4));
    ImagePtr other(new_image(2, 2));
    set_screen_page(screen.get());
    clear_screen_dirty();
    EXPECT_EQ(current_target(), screen.get());
    set_target(other.get());
    put_pixel(0, 0, 1);
    EXPECT_EQ(other->pixels[0], 1u);
    EXPECT_FALSE(screen_dirty());
    set_target();
    put_pixel(0, 0, 2);
    EXPECT_EQ(screen->pixels[0], 2u);
    EXPECT_TRUE(screen_dirty());
    set_screen_page(nullptr);
    EXPECT_EQ(current_target(), nullptr);
}

TEST(GfxImage, PlainCopyClipsAndKeepsAllBytes) {
    ImagePtr src(new_image(3, 2));
    for (int i = 0; i < 6; ++i) src->pixels[i] = 0x10203040u + i;
    ImagePtr dst(new_image(4, 4));
    putimage(-1, 3, src.get(), kSrcCopy, dst.get());
    EXPECT_EQ(dst->pixels[3 * 4 + 0], 0x10203041u);
    EXPECT_EQ(dst->pixels[3 * 4 + 1], 0x10203042u);
    EXPECT_EQ(dst->pixels[3 * 4 + 2], 0xFF000000u);
    // Stretching a 1-pixel-wide strip across the image.
    putimage(0, 0, 4, 2, src.get(), 2, 0, 1, 2, kSrcCopy, dst.get());
    EXPECT_EQ(dst->pixels[0 * 4 + 3], 0x10203042u);
    EXPECT_EQ(dst->pixels[1 * 4 + 0], 0x10203045u);
}

TEST(GfxImage, GetImageGrabsFromCurrentTarget) {
    ImagePtr page(new_image(4, 4));
    for (int i = 0; i < 16; ++i) page->pixels[i] = i;
    set_target(page.get());
    ImagePtr grab(new_image());
    EXPECT_EQ(getimage(grab.get(), 2, 2, 3, 3), 0);
    set_target();
    EXPECT_EQ(grab->width, 3);
    EXPECT_EQ(grab->pixels[0], 10u);
    EXPECT_EQ(grab->pixels[4], 15u);
    EXPECT_EQ(grab->pixels[2], 0u) << "outside the target stays transparent black";
}

}  // namespace
}  // namespace gfx
