// Window management: maximise and restore, the keyboard resize mode and its
// hint, and the size dialog's seam. Size changes travel through RunState 3
// and 4 (the main loop resizes the window); only the keyboard resize mode
// resizes at once and re-lays-out later.
#pragma once

namespace nd {

struct MainViewState;
using MainView = MainViewState;

struct WindowState {
    int maximised = 0;  // 1 while the window fills the work area by the maximise button
    int restore_x = 0;  // the position before maximising
    int restore_y = 0;
    int resize_mode = 0;     // 1 while the keyboard resize mode is on (the hint shows)
    int resize_pending = 0;  // the mode changed the size; the view still has to follow
};

// Maximises or restores (the maximise button, a double click on the
// caption strip).
void toggle_maximise(MainView& view);
// Opens the window-size dialog (command 10 and the size button).
void open_size_dialog(MainView& view);
// One step of the keyboard resize mode.
void keyboard_resize_step(MainView& view);
// Frame step k: once the resize mode has ended, re-lays-out the view at
// the size it left and stores that size with the workspace.
void finish_deferred_resize(MainView& view);

}  // namespace nd
