// Window management: maximise and restore, the keyboard resize mode and its
// hint, and the size dialog's seam. Size changes travel through RunState 3
// and 4 (the main loop resizes the window); only the keyboard resize mode
// resizes at once and re-lays-out later.
#pragma once

namespace nd {

struct MainViewState;
using MainView = MainViewState;

// The keyboard resize mode's limits.
inline constexpr int kResizeMinWidth = 800;
inline constexpr int kResizeMaxWidth = 2560;
inline constexpr int kResizeMinHeight = 600;
inline constexpr int kResizeMaxHeight = 1440;

// One axis of the keyboard resize mode: the step it grows by and the
// direction it last went (-1 smaller, +1 larger, 0 before the first step).
struct ResizeAxis {
    float step = 1.0f;
    int direction = 0;
};

// Moves `size` one step in `direction` (-1 or +1): a first step, or one
// that reverses, starts again at 1; the step applied is the current one
// truncated, and it then grows by half. The result is clamped to
// [low, high].
int resize_axis_step(ResizeAxis* axis, int size, int direction, int low, int high);

struct WindowState {
    int maximised = 0;  // 1 while the window fills the work area by the maximise button
    int restore_x = 0;  // the position before maximising
    int restore_y = 0;
    int resize_mode = 0;     // 1 while the keyboard resize mode is on (the hint shows)
    int resize_pending = 0;  // the mode changed the size; the view still has to follow
    ResizeAxis width_axis;
    ResizeAxis height_axis;
    bool ctrl_ignored = false;  // Ctrl+Tab: Ctrl counts as released until it is
};

// Maximises or restores (the maximise button, a double click on the
// caption strip).
void toggle_maximise(MainView& view);
// Opens the window-size dialog (command 10 and the size button).
void open_size_dialog(MainView& view);
// Switches the keyboard resize mode on (Ctrl, Alt and an arrow key) or off.
void set_keyboard_resize_mode(MainView& view, bool on);
// One step of the keyboard resize mode, by the arrow keys held down;
// `pressed_key` is the virtual key of the key-down being handled (0 for
// none), held even when its release is already queued.
void keyboard_resize_step(MainView& view, int pressed_key);
// Frame step k: once the resize mode has ended, re-lays-out the view at
// the size it left and stores that size with the workspace.
void finish_deferred_resize(MainView& view);

}  // namespace nd
