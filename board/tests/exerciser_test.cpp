// The "-test" exerciser over a workspace of several boards: it clicks cards
// and switches boards between pauses, and waits for each board to load.
#include "board/exerciser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include "board/board_switch.h"
#include "board/testing/view_fixture.h"
#include "session/progress.h"

namespace nd {
namespace {

class Exerciser : public testing::BoardViewTest {};

TEST_F(Exerciser, ClicksCardsAndSwitchesBoardsBetweenPauses) {
    open({{.title = "a", .x = 100, .y = 100}, {.title = "b", .x = 300, .y = 100}}, {}, 3, 2);
    std::set<int> boards_seen{view_state().board};
    int selections = 0;
    int longest_pause = 0;
    CaseRef selected = view_state().selected;
    for (int frame = 0; frame < 1500; ++frame) {
        switch_take_result(*view);
        exercise_step(*view);
        longest_pause = std::max(longest_pause, view->exerciser.pause);
        make_pending_cards(*view);
        if (board_loading(*view)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        boards_seen.insert(view_state().board);
        if (view_state().selected.where.slot != selected.where.slot ||
            view_state().selected.where.board != selected.where.board) {
            ++selections;
            selected = view_state().selected;
        }
    }
    EXPECT_GE(boards_seen.size(), 3u) << "it switches among the boards that hold Cases";
    EXPECT_GE(selections, 3);
    EXPECT_LE(longest_pause, 28) << "two draws of 0..14 frames";
}

}  // namespace
}  // namespace nd
