// The hot-key step, run once a frame before the board's pointer input while
// the board is loaded: the Ctrl and Alt state the pointer input reads, the
// Ctrl shortcuts, and the key queue (menu accelerators, dialogs, the
// board's key commands).
#pragma once

namespace nd {

struct MainViewState;
using MainView = MainViewState;

void keyboard_step(MainView& view);

}  // namespace nd
