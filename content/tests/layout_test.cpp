// The document's text model and its display lines.
#include <gtest/gtest.h>

#include <memory>

#include "content/layout.h"
#include "content/tests/content_fixture.h"

namespace nd::content {
namespace {

// 图片消失
const std::string kVanished = "\xCD\xBC\xC6\xAC\xCF\xFB\xCA\xA7";

class Layouts : public testing::ContentTest {
protected:
    std::unique_ptr<Layout> layout = std::make_unique<Layout>();
    HeldPreviews held;
    void lay(const std::string& t, const Metrics& m) {
        set_text(t);
        std::lock_guard<std::mutex> hold(StorageLock);
        lay_out(Document{&record(), &body()}, root, m, held, previews, LayoutMode::kFull, *layout);
    }
    void lay(const std::string& t) { lay(t, metrics); }
    const DisplayLine& line(int i) { return layout->lines[i]; }
};

TEST_F(Layouts, EndIsNormalisedToThreeLineFeeds) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"abc", "abc\n\n\n"},      // three added
        {"ab\n", "ab\n\n\n"},      // one line feed after two other bytes: two added
        {"abc\n\n", "abc\n\n\n"},  // a letter then two line feeds: one added
        {"a\n\n\n", "a\n\n\n"},    // third-last byte a line feed: left alone
        {"a\nb\n\n", "a\nb\n\n\n"},
        {"a\nb", "a\nb\n\n\n"},  // its last line stays in the caret's reach
        {"x\nz\n", "x\nz\n\n\n"},
        {"**fle:02\n\n\n", "**fle:02\n\n\n\n"},  // a marker's own line feed is not one
        {"", "\n\n\n"},
        {"\n", "\n\n\n"},
    };
    for (const Case& c : cases) {
        set_text(c.in);
        EXPECT_EQ(normalise_end(body()), static_cast<int>(std::strlen(c.out))) << c.in;
        EXPECT_EQ(text(), c.out) << c.in;
    }
}

TEST_F(Layouts, EveryAttachmentKindGetsItsLine) {
    set_slot(0, kAttachImage, "0000ABCD.jpg", "1\\img\\2024\\01\\02\\03_04_05_0000ABCD.jpg", 160,
             100);
    set_slot(1, kAttachFile, "a.txt", "/home/u/a.txt");
    set_slot(2, kAttachLink, "Title", "https://example.org/");
    set_slot(3, kAttachLinkPending, "", "https://example.org/x");
    lay("hello\n**img:00\n**fle:01\n**htp:02\n**htp:03\nx\ty\n");

    struct Want {
        int kind, start, length, slot, shown_width, shown_height, rows;
    } want[] = {
        {kLineText, 0, 6, -1, 0, 0, 1},
        {kAttachImage, 6, 9, 0, 160, 100, 100 / 18 + 1},
        {kAttachFile, 15, 9, 1, 5 * 8, 18, 1},
        {kAttachLink, 24, 9, 2, 5 * 8, 18, 1},
        {kAttachLinkPending, 33, 9, 3, 11 * 8, 18, 1},  // "等待标题..."
        {kLineText, 42, 4, -1, 0, 0, 1},
        {kLineText, 46, 1, -1, 0, 0, 1},
        {kLineText, 47, 1, -1, 0, 0, 1},
    };
    ASSERT_EQ(layout->line_count, 8);
    int rows = 0;
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(line(i).kind, want[i].kind);
        EXPECT_EQ(line(i).start, want[i].start);
        EXPECT_EQ(line(i).length, want[i].length);
        EXPECT_EQ(line(i).first_row, rows);
        EXPECT_EQ(line(i).rows, want[i].rows);
        if (want[i].kind != kLineText) {
            EXPECT_EQ(line(i).slot, want[i].slot);
            EXPECT_EQ(line(i).shown_width, want[i].shown_width);
            EXPECT_EQ(line(i).shown_height, want[i].shown_height);
        }
        rows += want[i].rows;
    }
    EXPECT_EQ(layout->rows, rows);
    // The tab became a space in the text itself.
    EXPECT_EQ(text().substr(42, 4), "x y\n");
    EXPECT_EQ(line(0).char_count, 6);
}

TEST_F(Layouts, CharacterTablesCountPairsOnceAndWrapByWidth) {
    // 中 is two bytes and two cells; 50 cells fit a line, and the line feed
    // needs room of its own.
    std::string zh = "\xD6\xD0";
    std::string t =
        "a" + zh + "b\n" + std::string(50, 'x') + "\n" + std::string(24, 'y') + zh + zh + "\n";
    lay(t);
    EXPECT_EQ(line(0).char_count, 4);
    EXPECT_EQ(std::vector<int>(line(0).chars, line(0).chars + 5),
              (std::vector<int>{0, 1, 3, 4, -1}));
    EXPECT_EQ(line(1).length, 50);  // full: its line feed starts the next line
    EXPECT_EQ(line(2).length, 1);
    // 24 cells of y and two 中 take 28 of the 50 cells; the line feed fits.
    EXPECT_EQ(line(3).length, 24 + 4 + 1);
}

TEST_F(Layouts, LongLinesAreCutAtTheCharacterTable) {
    lay(std::string(600, 'a') + "\n", Metrics{100000, 180, 8, 18});
    EXPECT_EQ(line(0).char_count, kMaxLineChars);
    EXPECT_EQ(line(0).length, kMaxLineChars);
    EXPECT_EQ(line(1).start, kMaxLineChars);
    EXPECT_EQ(line(2).length, 600 - 2 * kMaxLineChars + 1);
    for (int i = 0; i < layout->line_count; ++i) EXPECT_LE(line(i).length, kMaxLineBytes);
}

TEST_F(Layouts, OnlyTheFirstEightyLinesAreLaidOut) {
    std::string t;
    for (int i = 0; i < 100; ++i) t += "l\n";
    lay(t);
    EXPECT_EQ(layout->line_count, kMaxDisplayLines);
    EXPECT_EQ(layout->end, 160);
    EXPECT_EQ(layout->length, 202);
}

TEST_F(Layouts, VanishedImageBecomesTextAndFreesItsSlot) {
    set_slot(0, kAttachImage, "00000001.jpg", "1\\img\\gone.jpg");
    previews.sizes.clear();  // its file does not exist
    set_slot(1, kAttachImage, "00000002.jpg", "1\\img\\here.jpg", 50, 20);
    set_slot(2, kAttachFile, "f", "/f");
    // An image marker that names a file slot vanishes too, but the file's
    // slot stays.
    lay("a\n**img:00\n**img:01\n**img:02\nb\n");
    EXPECT_EQ(text(), "a\n" + kVanished + "\n**img:01\n" + kVanished + "\nb\n\n\n");
    EXPECT_EQ(record().attachments[0].kind, kAttachFree);
    EXPECT_EQ(record().attachments[0].path[0], '\0');
    EXPECT_EQ(record().attachments[1].kind, kAttachImage);
    EXPECT_EQ(record().attachments[2].kind, kAttachFile);
    EXPECT_EQ(line(1).kind, kLineText);
    EXPECT_EQ(line(1).char_count, 5);  // four characters and the line feed
    EXPECT_EQ(line(2).kind, kAttachImage);
    EXPECT_EQ(first_free_attachment(record()), 0);
}

TEST_F(Layouts, TallPreviewIsReducedToFitTheBox) {
    set_slot(0, kAttachImage, "n", "1\\img\\tall.jpg", 160, 500);
    lay("**img:00\n");
    // 500 rows in a 180-pixel box: reduced by 3, to 53 x 166.
    EXPECT_EQ(line(0).shown_width, 53);
    EXPECT_EQ(line(0).shown_height, 166);
    EXPECT_EQ(line(0).rows, 166 / 18 + 1);
    EXPECT_EQ(line(0).width, 160);
    EXPECT_EQ(line(0).height, 500);
}

TEST_F(Layouts, MarkersOnlyCountWholeAtALineStart) {
    set_slot(7, kAttachFile, "seven", "/7");
    lay("**img:123\nab**fle:07\n**fle:x\n**fle:7\n");
    EXPECT_EQ(line(0).kind, kLineText);    // no such slot
    EXPECT_EQ(line(1).kind, kLineText);    // not at a line start
    EXPECT_EQ(line(2).kind, kLineText);    // no number
    EXPECT_EQ(line(3).kind, kAttachFile);  // one digit is still a number
    EXPECT_EQ(line(3).slot, 7);
    EXPECT_EQ(line(3).length, 8);
}

TEST_F(Layouts, LoneLeadBytesAndOddBytesStayTheirOwnCharacters) {
    // A lead byte before a line feed, 0x80 and 0xFF: each one character, so
    // the layout never stalls or swallows the line feed.
    lay("a\x81\n\x80\xFF"
        "b\n");
    EXPECT_EQ(line(0).length, 3);
    EXPECT_EQ(line(0).char_count, 3);
    EXPECT_EQ(line(1).length, 4);
    EXPECT_EQ(line(1).char_count, 4);
}

}  // namespace
}  // namespace nd::content
