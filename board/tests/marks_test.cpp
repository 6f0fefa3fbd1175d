// Map marks by clicks in mark mode, and the autosave of moved cards.
#include "board/map_marks.h"

#include <gtest/gtest.h>

#include <mutex>

#include "base/file_io.h"
#include "board/cards.h"
#include "board/testing/view_fixture.h"
#include "store/paths.h"

namespace nd {
namespace {

class Marks : public testing::BoardViewTest {
protected:
    void click(int x, int y) {
        press(x, y);
        release(x, y);
    }
};

TEST_F(Marks, AFiftyFirstMarkIsRefused) {
    open({{.title = "map", .x = 200, .y = 200, .form = kFormMap}});
    start_mark_mode(*view, false);
    ASSERT_EQ(view->pointer.mark_mode, MarkMode::kAdd);
    const gfx::Rect r = card(0).rect;
    for (int i = 0; i < 51; ++i) click(r.x + 20 + (i % 10) * 20, r.y + 40 + (i / 10) * 20);
    const CaseRecord& record = *card(0).record;
    EXPECT_EQ(record.map_mark_count, kMaxMapMarks);
    EXPECT_EQ(record.map_marks[0].x, 20);
    EXPECT_EQ(record.map_marks[0].y, 40);
    EXPECT_EQ(record.map_marks[49].x, 20 + 9 * 20);
    // Saved as it changed: the fiftieth is on disk.
    EXPECT_EQ(stored_case(0, 0, 0).map_mark_count, kMaxMapMarks);
    // A right press ends the mode.
    press(r.x + 5, r.y + 60, gfx::kMouseRight);
    EXPECT_EQ(view->pointer.mark_mode, MarkMode::kNone);
}

TEST_F(Marks, RemovingAMarkRemovesTheLinksThatEndAtIt) {
    open({{.title = "map",
           .x = 200,
           .y = 200,
           .form = kFormMap,
           .marks = {{30, 60}, {100, 120}, {150, 60}}},
          {.title = "a", .x = 600, .y = 200},
          {.title = "b", .x = 600, .y = 400}},
         {{1, 0, false, 1}, {2, 0, false, 1}, {2, 0, false, 2}, {1, 2}});
    start_mark_mode(*view, true);
    const gfx::Rect r = card(0).rect;
    click(r.x + 100 + 6, r.y + 120);  // six pixels off: no mark there
    EXPECT_EQ(card(0).record->map_mark_count, 3);
    click(r.x + 100 + 5, r.y + 120 - 5);  // at the corner of mark 1's hit box
    const CaseRecord& map = *card(0).record;
    ASSERT_EQ(map.map_mark_count, 2);
    EXPECT_EQ(map.map_marks[1].x, 150) << "the later mark moved up";
    // The map keeps only its link to b's mark 2; a keeps its plain link to b.
    EXPECT_EQ(map.link_count, 1u);
    EXPECT_EQ(card(1).record->link_count, 1u);
    EXPECT_EQ(card(1).record->link_locations[0].slot, 2);
    EXPECT_EQ(card(2).record->link_count, 2u);
    EXPECT_EQ(card(0).link_count, 1) << "the cards show it at once";
    EXPECT_EQ(card(1).link_count, 1);
}

TEST_F(Marks, TheAutosaveWritesMovedCardsOfALoadedBoard) {
    open({{.title = "a", .x = 100, .y = 100}, {.title = "b", .x = 300, .y = 100}});
    move_card(*view, 1, 333, 144);
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        LoadProgress.store(60.0f);
        EXPECT_FALSE(board_view_steps().autosave(view, app)) << "not while a board loads";
        LoadProgress.store(100.0f);
        EXPECT_TRUE(board_view_steps().autosave(view, app));
        EXPECT_FALSE(view->moves[1].pending);
    }
    const CaseRecord on_disk = stored_case(0, 0, 1);
    EXPECT_EQ(on_disk.x, 333);
    EXPECT_EQ(on_disk.y, 144);
}

}  // namespace
}  // namespace nd
