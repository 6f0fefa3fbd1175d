#include "base/gbk.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace nd {
namespace {

// 中 (D6 D0), 文 (CE C4) and the middle dot (A1 A4).
constexpr char kZhong[] = "\xD6\xD0";
constexpr char kWen[] = "\xCE\xC4";

TEST(Gbk, CharacterBoundaries) {
    // "a中文": a trail byte (D0) that could also start a pair sits inside.
    const std::string text = std::string("a") + kZhong + kWen;
    EXPECT_EQ(gbk_char_length(text, 0), 1u);
    EXPECT_EQ(gbk_char_length(text, 1), 2u);
    EXPECT_EQ(gbk_char_length(text, 5), 0u);
    EXPECT_EQ(gbk_char_before(text, 5), 3u);
    EXPECT_EQ(gbk_char_before(text, 3), 1u);
    EXPECT_EQ(gbk_char_before(text, 1), 0u);
    EXPECT_EQ(gbk_char_before(text, 0), 0u);
    // Inside a pair the boundary is the pair's start.
    EXPECT_EQ(gbk_fit(text, 2), 1u);
    EXPECT_EQ(gbk_fit(text, 4), 3u);
    EXPECT_EQ(gbk_fit(text, 5), 5u);
    // A lead byte at the very end is a character of one byte.
    EXPECT_EQ(gbk_char_length("a\xD6", 1), 1u);
}

TEST(Gbk, FittingCuttingAndCopyingNeverSplitAPair) {
    const std::string text = std::string("ab") + kZhong + "c" + kWen;  // 7 bytes, 5 characters
    struct Case {
        size_t limit, fit;
    };
    for (const Case& c : {Case{0, 0}, Case{2, 2}, Case{3, 2}, Case{4, 4}, Case{6, 5}, Case{9, 7}}) {
        EXPECT_EQ(gbk_fit(text, c.limit), c.fit) << c.limit;
    }
    EXPECT_EQ(gbk_cut_last(text, 0), 7u);
    EXPECT_EQ(gbk_cut_last(text, 1), 5u);
    EXPECT_EQ(gbk_cut_last(text, 3), 2u);
    EXPECT_EQ(gbk_cut_last(text, 9), 0u);

    // A field of 5 bytes keeps 4: "ab中" fits, "c" would not leave the zero.
    char field[5 + 2];
    std::memset(field, 'X', sizeof field);
    EXPECT_EQ(gbk_copy_field(field, 5, text), 4u);
    EXPECT_EQ(std::string(field, 5), std::string("ab") + kZhong + '\0');
    EXPECT_EQ(field[5], 'X') << "wrote past the field";
    // A field of 4 cannot take the pair at bytes 2-3 with its zero.
    EXPECT_EQ(gbk_copy_field(field, 4, text), 2u);
    EXPECT_EQ(std::string(field, 4), std::string("ab\0\0", 4));
    // Text stops at its first zero.
    EXPECT_EQ(gbk_copy_field(field, 5, std::string_view("a\0b", 3)), 1u);
    EXPECT_EQ(field_text(field, 5), "a");
    EXPECT_EQ(field_text("abcdef", 3), "abc");
}

TEST(Gbk, OutToUtf8ReplacesWhatIsNotGbk) {
    struct Case {
        std::string gbk, utf8;
    };
    const Case cases[] = {
        {std::string(kZhong) + "a",
         "\xE4\xB8\xAD"
         "a"},
        {"\xA1\xA4", "\xC2\xB7"},    // the middle dot
        {"a\xD6", "a\xEF\xBF\xBD"},  // a lead byte with nothing after it
        {"\x81\x20x",
         "\xEF\xBF\xBD"
         "x"},                     // a pair whose second byte cannot trail
        {"\xFF", "\xEF\xBF\xBD"},  // a byte that is no character
    };
    for (const Case& c : cases) EXPECT_EQ(gbk_to_utf8(c.gbk), c.utf8);
    size_t length = 0;
    EXPECT_EQ(gbk_decode(kWen, 0, &length), 0x6587u);
    EXPECT_EQ(length, 2u);
    EXPECT_EQ(gbk_decode(kWen, 2, &length), 0u);
    EXPECT_EQ(length, 0u);
}

TEST(Gbk, InFromUtf8RefusesWhatGbkCannotHold) {
    struct Case {
        const char* utf8;
        std::string gbk;
        int refused;
    };
    const Case cases[] = {
        {"abc", "abc", 0},
        {"\xE4\xB8\xAD", kZhong, 0},
        {"a\xF0\x9F\x98\x80\xE4\xB8\xAD", std::string("a") + kZhong, 1},  // an emoji
        {"\xE4\xB8", "", 1},                                              // cut off at the end
        {"\xE4"
         "a",
         "a", 1},                     // cut off by a letter
        {"x\xFFy", "xy", 1},          // a stray byte
        {"\xC2\xB7", "\xA1\xA4", 0},  // the middle dot
    };
    for (const Case& c : cases) {
        std::string out = "=";
        EXPECT_EQ(utf8_to_gbk(c.utf8, &out), c.refused) << c.utf8;
        EXPECT_EQ(out, "=" + c.gbk) << c.utf8;
        EXPECT_EQ(gbk_of(c.utf8), c.gbk) << c.utf8;
    }
}

}  // namespace
}  // namespace nd
