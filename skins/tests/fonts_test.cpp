// The program's faces all resolve and draw Chinese text, including the
// Latin faces, whose missing characters come from a Chinese fallback.
#include <gtest/gtest.h>

#include "gfx/gfx.h"

namespace nd {
namespace {

TEST(SkinFonts, EveryFaceDrawsChineseText) {
    // Face names and text are GBK bytes: "微软雅黑", "宋体", and "工作区".
    const char* faces[] = {"\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA", "\xCB\xCE\xCC\xE5", "Consolas",
                           "Tahoma", "SimSun"};
    const char* text = "\xB9\xA4\xD7\xF7\xC7\xF8 6.0";
    for (const char* face : faces) {
        gfx::IMAGE* image = gfx::new_image(200, 40);
        gfx::set_bk_mode(gfx::kTransparent, image);
        gfx::set_color(0xFFFFFFFF, image);
        gfx::set_font(24, 0, face, image);
        EXPECT_GT(gfx::text_width(text, image), 3 * 12) << face;
        gfx::text_out(2, 2, text, image);
        size_t lit = 0;
        for (uint32_t px : image->pixels) lit += (px & 0xFFFFFF) != 0;
        EXPECT_GT(lit, 100u) << face;
        gfx::delete_image(image);
    }
}

}  // namespace
}  // namespace nd
