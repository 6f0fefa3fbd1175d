#include <gtest/gtest.h>

#include "skins/palette.h"

namespace nd {
namespace {

TEST(SkinPalette, SharedGroupsHoldTheirColours) {
    struct Group {
        int base;
        uint32_t colors[4];
    };
    const Group groups[] = {
        {77, {0xFF5A5C50, 0xFFFAF1ED, 0xFF2D393E, 0xFFF9FBFC}},
        {97, {0xFF161713, 0xFFE4D0C9, 0xFF0D1B22, 0xFFDEE0E0}},
        {182, {0xFF7C7865, 0xFFBCBDBE, 0xFF405058, 0xFFBCBDBE}},
        {217, {0xFF957E2C, 0xFF000000, 0xFF448AB8, 0xFF0078D7}},
        {229, {0xFF7CBCEA, 0xFF7CBCEA, 0xFF7CBCEA, 0xFF0066B4}},
        {381, {0xFFD7D7CA, 0xFF010101, 0xFFFCFCFC, 0xFF010101}},
        {385, {0xFF1E1E1E, 0xFFF2E4DD, 0xFF0D1B22, 0xFFFCFCFC}},
        {397, {0xFFD7D7CA, 0xFF010101, 0xFFFCFCFC, 0xFF010101}},
    };
    for (const Group& g : groups)
        for (int skin = 0; skin < 4; ++skin) {
            EXPECT_EQ(palette_color(g.base, skin), g.colors[skin]) << g.base << "+" << skin;
            // The flat table is addressed as group base + skin index.
            EXPECT_EQ(kPalette[size_t(g.base + skin)], g.colors[skin]);
        }
    static_assert(palette_color(kPalPanelBackground, 2) == 0xFF0D1B22);
}

}  // namespace
}  // namespace nd
