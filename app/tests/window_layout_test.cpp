#include "app/window_layout.h"

#include <gtest/gtest.h>

namespace nd {
namespace {

TEST(WindowLayout, StoredSizeAgainstTheWorkArea) {
    struct Case {
        const char* name;
        gfx::Rect area;
        int stored_w, stored_h;
        WindowPlacement want;
    };
    const Case cases[] = {
        {"nothing stored", {0, 0, 1600, 900}, 0, 0, {1600, 900, 0, 0, false, true}},
        {"only a width stored", {0, 0, 1600, 900}, 1200, 0, {1600, 900, 0, 0, false, true}},
        {"fits: centred", {0, 0, 1600, 900}, 1200, 700, {1200, 700, 200, 100, true, false}},
        {"exactly the work area", {0, 0, 1600, 900}, 1600, 900, {1600, 900, 0, 0, true, false}},
        {"too wide: work area at the corner",
         {0, 0, 1600, 900},
         1920,
         800,
         {1600, 900, 0, 0, false, true}},
        {"too tall", {0, 0, 1600, 900}, 1000, 1080, {1600, 900, 0, 0, false, true}},
        {"panel on top: centred below it",
         {0, 32, 1600, 868},
         1000,
         600,
         {1000, 600, 300, 32 + 134, true, false}},
        {"panel on top: corner below it",
         {0, 32, 1600, 868},
         1600,
         900,
         {1600, 868, 0, 32, false, true}},
    };
    for (const Case& c : cases) {
        WindowPlacement got = place_window(c.area, c.stored_w, c.stored_h);
        EXPECT_EQ(got.width, c.want.width) << c.name;
        EXPECT_EQ(got.height, c.want.height) << c.name;
        EXPECT_EQ(got.x, c.want.x) << c.name;
        EXPECT_EQ(got.y, c.want.y) << c.name;
        EXPECT_EQ(got.placed, c.want.placed) << c.name;
        EXPECT_EQ(got.store_size, c.want.store_size) << c.name;
    }
}

}  // namespace
}  // namespace nd
