#include "app/start/path_entry.h"

#include <gtest/gtest.h>

namespace nd::start {
namespace {

gfx::KeyMsg ch(unsigned char c) {
    return {c, gfx::kKeyChar, 0};
}
gfx::KeyMsg down(uint32_t vk) {
    return {vk, gfx::kKeyDown, 0};
}

TEST(PathEntry, BackspaceRemovesWholeGbkCharacters) {
    // "a" + 工 (B9 A4) + 作 (D7 F7) + "b"; the trail byte F7 is also a valid
    // lead byte, so a backwards scan would split the pair.
    PathEntry entry;
    entry.text =
        "a\xb9\xa4\xd7\xf7"
        "b";
    for (const char* left : {"a\xb9\xa4\xd7\xf7", "a\xb9\xa4", "a", "", ""}) {
        entry_key(&entry, down(8));
        EXPECT_EQ(entry.text, left);
    }
    // A lead byte still waiting for its trail byte goes alone.
    entry.text = "x\xb9";
    entry_key(&entry, down(8));
    EXPECT_EQ(entry.text, "x");
}

TEST(PathEntry, KeysEditSubmitAndCancel) {
    PathEntry entry;
    for (unsigned char c : std::string("/w/T"))
        EXPECT_EQ(entry_key(&entry, ch(c)), EntryResult::kNone);
    // Control characters that also arrive as character records are not text.
    EXPECT_EQ(entry_key(&entry, ch(8)), EntryResult::kNone);
    EXPECT_EQ(entry_key(&entry, ch(13)), EntryResult::kNone);
    EXPECT_EQ(entry.text, "/w/T");
    EXPECT_EQ(entry_key(&entry, down(8)), EntryResult::kNone);
    EXPECT_EQ(entry.text, "/w/");
    EXPECT_EQ(entry_key(&entry, down(13)), EntryResult::kSubmit);
    EXPECT_EQ(entry_key(&entry, down(27)), EntryResult::kCancel);
}

TEST(PathEntry, RefusesTextBeyondTheStoredPathWidth) {
    PathEntry entry;
    for (size_t i = 0; i < kMaxPathBytes + 10; ++i) entry_key(&entry, ch('x'));
    EXPECT_EQ(entry.text.size(), kMaxPathBytes);
}

}  // namespace
}  // namespace nd::start
