// Showing another whiteboard: the worker's progress, the cards made four a
// frame, what the board left behind keeps on disk, and jumps.
#include "board/board_switch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "analysis/timeline_panel.h"
#include "base/file_io.h"
#include "board/cards.h"
#include "board/testing/view_fixture.h"
#include "session/progress.h"
#include "store/keys.h"
#include "store/paths.h"

namespace nd {
namespace {

class BoardSwitch : public testing::BoardViewTest {
protected:
    // Frames until the worker is done and its result taken (at most 5 s).
    bool take_result() {
        for (int i = 0; i < 500; ++i) {
            if (switch_take_result(*view)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    float progress() const { return LoadProgress.load(); }
};

TEST_F(BoardSwitch, ProgressClimbsWhileTheWorkerSavesAndTheCardsAreMade) {
    open({{.title = "a", .x = 100, .y = 100}, {.title = "b", .x = 300, .y = 100}}, {}, 2, 6);
    move_card(*view, 1, 350, 160);
    select_card(*view, 1);
    {
        // Holding the lock stops the worker where it saves the board left.
        std::lock_guard<std::mutex> hold(StorageLock);
        ASSERT_TRUE(switch_board(*view, 0, 1));
        // 0 at once; the worker may have reached 5 already.
        EXPECT_LE(progress(), 5.0f);
        for (int i = 0; i < 500 && progress() < 5.0f; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(progress(), 5.0f);
        EXPECT_FALSE(switch_take_result(*view));
    }
    ASSERT_TRUE(take_result());
    EXPECT_EQ(progress(), 50.0f);
    EXPECT_EQ(view_state().board, 1);
    EXPECT_EQ(view->card_count, 0);
    EXPECT_TRUE(board_loading(*view));

    make_pending_cards(*view);
    EXPECT_EQ(view->card_count, 4);
    EXPECT_FLOAT_EQ(progress(), 50.0f + 4 * 49.0f / 6);
    make_pending_cards(*view);
    EXPECT_EQ(view->card_count, 6);
    EXPECT_EQ(progress(), 100.0f);
    EXPECT_FALSE(board_loading(*view));
    EXPECT_EQ(view_state().selected.where.slot, 0) << "the first in display order is on top";

    // The board left behind: its moved Case and its display order, on disk.
    const Board left = stored_board(0, 0);
    EXPECT_EQ(left.cases[1].ordinal, 1);
    EXPECT_EQ(left.cases[0].ordinal, 2);
    const CaseRecord record = stored_case(0, 0, 1);
    EXPECT_EQ(record.x, 350);
    EXPECT_EQ(record.y, 160);
}

TEST_F(BoardSwitch, TheBoardShownAndAnEmptyBoard) {
    open({{.title = "a", .x = 100, .y = 100}}, {}, 1, 0);
    EXPECT_FALSE(switch_board(*view, 0, 0)) << "the board shown";
    EXPECT_FALSE(switch_board(*view, 0, 7)) << "no such board";
    ASSERT_TRUE(switch_board(*view, 0, 1));
    EXPECT_FALSE(switch_board(*view, 0, 0)) << "one switch at a time";
    ASSERT_TRUE(take_result());
    EXPECT_EQ(progress(), 100.0f) << "an empty board is shown at once";
    EXPECT_EQ(view->card_count, 0);
    EXPECT_FALSE(board_loading(*view));
}

TEST_F(BoardSwitch, AJumpToAnotherBoardShowsTheCaseWhereJumpsPutIt) {
    open({{.title = "a", .x = 100, .y = 100}}, {}, 1, 3);
    CaseRef target;
    target.where = {0, 0, 1, 2};
    jump_to_case(*view, target);
    ASSERT_TRUE(take_result());
    make_all_cards(*view);
    const int index = find_card(*view, target);
    ASSERT_GE(index, 0);
    EXPECT_EQ(card(index).rect.x, kWidth / 2 - 116);
    EXPECT_EQ(card(index).rect.y, kHeight / 2 - 50);
    EXPECT_EQ(top(), index);
    EXPECT_EQ(view_state().selected.where.slot, 2);
}

// A board shown afresh empties the timeline strip; once its cards are made
// the top card's Case is selected there.
TEST_F(BoardSwitch, TheTimelineIsClearedOnEachBoardAndFollowsItsTopCard) {
    open({{.title = "a", .x = 100, .y = 100}}, {}, 2, 2);
    const Timeline& strip = timeline_panel_state().timeline;
    ASSERT_TRUE(switch_board(*view, 0, 1));
    ASSERT_TRUE(take_result());
    EXPECT_TRUE(strip.entries.empty());
    make_all_cards(*view);
    EXPECT_EQ(strip.entries.size(), 5u);  // every Case of the workspace
    EXPECT_TRUE(same_item(strip.selected_key, view_state().selected.key));
    ASSERT_GE(strip.selected, 0);
    EXPECT_EQ(strip.entries[size_t(strip.selected)].at.board, 1);
}

}  // namespace
}  // namespace nd
