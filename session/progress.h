// Reading the loading progress that the workspace loader and the
// board-switch worker publish (store/locks.h has the writers). The main
// thread reads without ProgressLock; the label and failure are copied out
// under it.
#pragma once

#include "store/locks.h"

namespace nd {

// The current load's percentage, 0 to 100.
inline float load_percent() {
    return LoadProgress.load(std::memory_order_relaxed);
}

// True once the current board is fully loaded: the board's input and
// arrangement wait for this.
inline bool board_ready() {
    return load_percent() >= 100.0f;
}

}  // namespace nd
