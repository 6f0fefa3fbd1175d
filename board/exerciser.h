// The "-test" exerciser: an unattended user that, between random pauses,
// clicks random cards and switches to random boards of the current group,
// so a long run exercises the board.
#pragma once

#include <cstdint>

namespace nd {

struct MainViewState;
using MainView = MainViewState;

struct ExerciserState {
    int pause = 0;       // frames until the next step
    uint64_t ticks = 0;  // the clock of its clicks, far apart so none pairs into a double click
};

// One frame of the exerciser.
void exercise_step(MainView& view);

}  // namespace nd
