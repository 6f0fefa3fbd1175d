#include "board/exerciser.h"

#include <mutex>

#include "base/park_miller.h"
#include "board/board_switch.h"
#include "board/main_view.h"
#include "board/pointer.h"
#include "session/progress.h"
#include "store/locks.h"
#include "store/tables.h"

namespace nd {

namespace {

constexpr int kPauseRange = 15;
// Boards drawn at most before the exerciser decides the group has no other
// board to show; a group holds 100 slots.
constexpr int kBoardDraws = 1000;

// The generator is shared with the workers, which draw under StorageLock.
int32_t draw() {
    std::lock_guard<std::mutex> hold(StorageLock);
    return next_random();
}

bool board_has_case(int group, int board) {
    for (int s = 0; s < kCaseSlots; ++s) {
        if (find_case(group, board, s)) return true;
    }
    return false;
}

// A click one pixel inside the top-left corner of a random card.
void click_random_card(MainView& view) {
    if (view.card_count == 0) return;
    const Card& card = view.cards[static_cast<size_t>(draw() % view.card_count)];
    const int x = card.rect.x + 1, y = card.rect.y + 1;
    ExerciserState& e = view.exerciser;
    e.ticks += 1000;
    pointer_message(view, {x, y, gfx::kMouseDown, gfx::kMouseLeft, 0}, e.ticks);
    pointer_message(view, {x, y, gfx::kMouseUp, gfx::kMouseLeft, 0}, e.ticks);
}

void switch_random_board(MainView& view) {
    const int group = view_state().group;
    for (int n = 0; n < kBoardDraws; ++n) {
        const int board = draw() % kBoardSlots;
        if (board == view_state().board || !find_board(group, board)) continue;
        if (!board_has_case(group, board)) continue;
        switch_board(view, group, board);
        return;
    }
}

}  // namespace

void exercise_step(MainView& view) {
    ExerciserState& e = view.exerciser;
    if (e.pause > 0) {
        --e.pause;
        return;
    }
    const int step = draw() % 10;
    if (step >= 3) {
        // Clicks and switches wait for the board; the step is tried afresh
        // on the next frame.
        if (!board_ready() || board_loading(view)) return;
        if (step <= 5) {
            click_random_card(view);
        } else {
            switch_random_board(view);
        }
    }
    const int a = draw(), b = draw();
    e.pause = a % kPauseRange + b % kPauseRange;
}

}  // namespace nd
