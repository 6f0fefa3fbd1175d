#include "ui/list_view.h"

#include <gtest/gtest.h>

namespace nd::ui {
namespace {

// A pane of 100 x 112 with rows 30 apart (28 high) after a top gap of 12:
// three rows show at once.
ListView list(int count) {
    ListView l;
    l.pane = {0, 0, 100, 112};
    l.row_top = 12;
    l.row_pitch = 30;
    l.row_height = 28;
    l.scroll_up.rect = {106, 12, 16, 40};
    l.scroll_down.rect = {106, 72, 16, 40};
    list_set_count(&l, count);
    return l;
}

gfx::MouseMsg at(int x, int y, uint32_t kind, uint32_t flags = 0, int wheel = 0) {
    return {x, y, kind, flags, wheel};
}

int click(ListView* l, int x, int y) {
    list_update(l, at(x, y, gfx::kMouseDown, gfx::kMouseLeft));
    return list_update(l, at(x, y, gfx::kMouseUp, gfx::kMouseLeft));
}

TEST(ListView, RowsUnderThePointerAndClicks) {
    ListView l = list(2);
    EXPECT_EQ(list_visible_rows(l), 3);
    EXPECT_FALSE(list_scrolls(l));
    list_update(&l, at(50, 45, gfx::kMouseMove));
    EXPECT_EQ(l.hover, 1);
    list_update(&l, at(50, 41, gfx::kMouseMove));  // the gap between rows
    EXPECT_EQ(l.hover, -1);
    list_update(&l, at(50, 75, gfx::kMouseMove));  // a row slot with no row
    EXPECT_EQ(l.hover, -1);
    EXPECT_EQ(click(&l, 50, 15), 0);
    EXPECT_EQ(l.selected, 0);
    // Pressed on one row and released on another: no click.
    list_update(&l, at(50, 15, gfx::kMouseDown, gfx::kMouseLeft));
    EXPECT_EQ(list_update(&l, at(50, 45, gfx::kMouseUp, gfx::kMouseLeft)), -1);
    EXPECT_EQ(l.selected, 0);
}

TEST(ListView, WheelAndArrowsScrollWithinTheRows) {
    ListView l = list(5);
    ASSERT_TRUE(list_scrolls(l));
    list_update(&l, at(50, 50, gfx::kMouseWheel, 0, -120));
    EXPECT_EQ(l.first_visible, 1);
    list_update(&l, at(50, 15, gfx::kMouseWheel, 0, -120));
    list_update(&l, at(50, 15, gfx::kMouseWheel, 0, -120));
    EXPECT_EQ(l.first_visible, 2) << "stops where the last row shows";
    EXPECT_EQ(l.hover, 2) << "the row now under the pointer";
    list_update(&l, at(200, 15, gfx::kMouseWheel, 0, 120));
    EXPECT_EQ(l.first_visible, 2) << "the wheel outside the pane does nothing";
    EXPECT_EQ(click(&l, 110, 20), kListArrowClicked);
    EXPECT_EQ(l.first_visible, 1);
    click(&l, 110, 100);
    EXPECT_EQ(l.first_visible, 2);
    list_scroll_to(&l, 0);
    EXPECT_EQ(l.first_visible, 0);
    list_scroll_to(&l, 4);
    EXPECT_EQ(l.first_visible, 2);
    // A shorter list takes the scroll window and the selection with it.
    l.selected = 4;
    list_set_count(&l, 3);
    EXPECT_EQ(l.first_visible, 0);
    EXPECT_EQ(l.selected, -1);
    // Arrows do nothing while everything fits.
    EXPECT_EQ(click(&l, 110, 100), kListNoClick);
    EXPECT_EQ(l.first_visible, 0);
}

}  // namespace
}  // namespace nd::ui
