// Drawing the editor: background, pictures (inverted when marked, clipped
// above the first row), the pending link's colour, the caret's blink and
// the scroll bar.
#include <gtest/gtest.h>

#include "content/draw.h"
#include "content/tests/content_fixture.h"

namespace nd::content {
namespace {

constexpr uint32_t kPreviewColour = 0xFF204060;  // what the fake previews hold

class Drawing : public testing::ContentTest {
protected:
    gfx::IMAGE* canvas = nullptr;
    EditorColors colours = editor_colors(3);
    Rect rect{0, 0, 300, 200};

    void SetUp() override {
        ContentTest::SetUp();
        canvas = gfx::new_image(300, 200);
        metrics = editor_metrics(300, 200, 8, 18);
    }
    void TearDown() override {
        gfx::delete_image(canvas);
        ContentTest::TearDown();
    }
    void draw(bool blink_on = false) { editor_draw(editor, colours, blink_on, canvas, rect); }
    uint32_t rgb(int x, int y) { return gfx::get_pixel(x, y, canvas) & 0xFFFFFF; }
    bool any_pixel(uint32_t colour, int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (rgb(x, y) == (colour & 0xFFFFFF)) return true;
        return false;
    }
};

TEST_F(Drawing, PicturesAreInvertedWhenMarked) {
    set_slot(0, kAttachImage, "n", "1\\img\\a.jpg", 40, 20);
    open("**img:00\ntext\n");
    caret_to(9);  // the caret on the text line below
    draw();
    EXPECT_EQ(rgb(6 + 5, 6 + 5), kPreviewColour & 0xFFFFFF);
    EXPECT_EQ(rgb(200, 150), colours.background & 0xFFFFFF);
    editor_key(editor, kKeyLeft);  // onto the picture's line
    draw();
    EXPECT_EQ(rgb(6 + 5, 6 + 5), ~kPreviewColour & 0xFFFFFF);
    caret_to(9);
    editor.selection = Selection{0, 0, 9};
    draw();
    EXPECT_EQ(rgb(6 + 5, 6 + 5), ~kPreviewColour & 0xFFFFFF);
}

TEST_F(Drawing, PicturePartlyAboveTheFirstRowIsClipped) {
    set_slot(0, kAttachImage, "n", "1\\img\\a.jpg", 40, 100);  // six rows
    std::string t = "**img:00\n";
    for (int i = 0; i < 20; ++i) t += "line\n";
    open(t);
    caret_to(9);
    editor_wheel(editor, 2);
    ASSERT_EQ(editor.caret.first_row, 2);
    draw();
    // Drawn from 36 pixels above the text box: the top margin stays clear,
    // the rest shows down to the picture's bottom at 6 - 36 + 100.
    EXPECT_EQ(rgb(10, 3), colours.background & 0xFFFFFF);
    EXPECT_EQ(rgb(10, 8), kPreviewColour & 0xFFFFFF);
    EXPECT_EQ(rgb(10, 6 - 36 + 99), kPreviewColour & 0xFFFFFF);
    EXPECT_NE(rgb(10, 6 - 36 + 101), kPreviewColour & 0xFFFFFF);
}

TEST_F(Drawing, PendingLinkInItsColourAndTheCaretBlinks) {
    set_slot(0, kAttachLinkPending, "", "https://example.org/");
    open("\n**htp:00\n");
    draw(false);
    EXPECT_TRUE(any_pixel(0xA80000, 6, 24, 6 + 88, 42));  // "等待标题..." on the second row
    EXPECT_FALSE(any_pixel(colours.text, 6, 6, 8, 22));
    draw(true);
    EXPECT_TRUE(any_pixel(colours.text, 6, 6, 8, 22));  // two pixels wide, a font high
}

TEST(EditorFont, MeasuredCellsAreUsable) {
    int cell = 0, height = 0;
    editor_font_size(&cell, &height);
    EXPECT_GE(cell, 5);
    EXPECT_LE(cell, 16);
    EXPECT_EQ(height, 16);
}

TEST_F(Drawing, ScrollBarThumbIsTheVisibleShare) {
    std::string t;
    for (int i = 0; i < 28; ++i) t += "line\n";
    open(t);  // 30 rows with the trailing lines; 10 visible
    draw();
    EXPECT_EQ(rgb(295, 10), colours.bar_thumb & 0xFFFFFF);
    EXPECT_EQ(rgb(295, 65), colours.bar_thumb & 0xFFFFFF);
    EXPECT_EQ(rgb(295, 67), colours.bar_track & 0xFFFFFF);
    editor_wheel(editor, 10);
    draw();
    EXPECT_EQ(rgb(295, 65), colours.bar_track & 0xFFFFFF);
    EXPECT_EQ(rgb(295, 67), colours.bar_thumb & 0xFFFFFF);
    EXPECT_EQ(rgb(285, 67), colours.background & 0xFFFFFF);  // left of the bar
}

}  // namespace
}  // namespace nd::content
