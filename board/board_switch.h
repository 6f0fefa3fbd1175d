// Showing another whiteboard: the board being left is saved on the
// board-switch worker while LoadProgress climbs 0 -> 5 -> 25 -> 50, then the
// frame renderer makes the new board's cards, at most four a frame, until
// 100. Input and arrangements wait for 100.
#pragma once

#include <array>
#include <memory>

#include "session/view_state.h"
#include "store/records.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

struct SwitchJob;  // what the worker saves and loads (board_switch.cpp)

inline constexpr int kCardsPerFrame = 4;

struct SwitchState {
    std::shared_ptr<SwitchJob> job;  // the worker's, until the main thread takes its result
    std::array<int, kCaseSlots> order{};  // the new board's slots, display order first
    int cards_total = 0;                  // Cases of the new board
    int cards_made = 0;
    float increment = 0.0f;  // LoadProgress added per card made
    CaseRef jump;            // a Case to jump to once the board is shown
    // The board each group showed last, which switching groups returns to.
    std::array<int, kGroupSlots> group_board{};
};

// Starts showing board `board` of group `group` on the worker. False when
// it is the board shown, no such board is loaded, or a switch is running.
bool switch_board(MainView& view, int group, int board);
// Shows a board without a board to leave: the view's first board, and the
// render command's. Its cards are then made frame by frame.
void show_board(MainView& view, int group, int board);
// Once a frame: takes the worker's result when it is done. True when the
// board changed.
bool switch_take_result(MainView& view);
// Frame step 9: makes up to four more cards while the board loads; the
// last one brings LoadProgress to 100 and selects the top card.
void make_pending_cards(MainView& view);
// Makes every card still to be made at once (for pictures of the board).
void make_all_cards(MainView& view);
// True while a switch or the making of cards is under way.
bool board_loading(const MainView& view);

}  // namespace nd
