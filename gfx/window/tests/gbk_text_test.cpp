#include "gfx/window/gbk_text.h"

#include <gtest/gtest.h>

namespace gfx {
namespace {

TEST(GbkText, TypedTextBecomesGbkBytes) {
    struct Case {
        const char* utf8;
        const char* gbk;
        int dropped;
    };
    const Case cases[] = {
        {"abc", "abc", 0},
        {"\xE4\xB8\xAD", "\xD6\xD0", 0},                    // 中: lead byte, trail byte
        {"a\xF0\x9F\x98\x80\xE4\xB8\xAD", "a\xD6\xD0", 1},  // an emoji GBK cannot hold
        {"\xE4\xB8", "", 1},                                // cut-off sequence
        {"x\xFFy", "xy", 1},                                // stray byte
        {"\xC2\xB7", "\xA1\xA4", 0},                        // middle dot
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(utf8_to_gbk(c.utf8, &out), c.dropped) << c.utf8;
        EXPECT_EQ(out, c.gbk) << c.utf8;
    }
}

TEST(GbkText, CaptionConvertsToUtf8) {
    EXPECT_EQ(gbk_to_utf8("\xD6\xD0"
                          "a"),
              "\xE4\xB8\xAD"
              "a");
    EXPECT_EQ(gbk_to_utf8("a\xD6"), "a?");  // lone lead byte at the end
}

}  // namespace
}  // namespace gfx
