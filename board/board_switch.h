// Showing another whiteboard: the board being left is saved on the
// board-switch worker while LoadProgress climbs 0 -> 5 -> 25 -> 50, then the
// frame renderer makes the new board's cards, at most four a frame, until
// 100. Input and arrangements wait for 100.
#pragma once

#include <atomic>
#include <memory>

namespace nd {

struct MainViewState;
using MainView = MainViewState;

struct SwitchJob;  // what the worker saves and loads (board_switch.cpp)

struct SwitchState {
    std::shared_ptr<SwitchJob> job;  // the worker's, until the main thread takes its result
    int cards_total = 0;             // Cases of the new board
    int cards_made = 0;
    float increment = 0.0f;          // LoadProgress added per card made
};

// Starts showing board `board` of group `group`. False when it is the board
// shown or no such board exists.
bool switch_board(MainView& view, int group, int board);
// Once a frame: takes the worker's result when it is done. True when the
// board changed.
bool switch_take_result(MainView& view);
// Frame step 9: makes up to four more cards while the board loads.
void make_pending_cards(MainView& view);

}  // namespace nd
