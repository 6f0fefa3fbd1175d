#include "board/window_mgmt.h"

#include <algorithm>
#include <cstdio>

#include "board/dialog_kinds.h"
#include "board/main_view.h"
#include "gfx/window/key_map.h"
#include "gfx/window/window.h"
#include "session/workspace.h"

namespace nd {

namespace {

// The size a restore goes back to when no size is stored.
constexpr int kDefaultWidth = 1600;
constexpr int kDefaultHeight = 900;
// The step stops growing here, far past any window, so the float never
// overflows however long a key is held.
constexpr float kLargestStep = 4096.0f;

// Where the window is put after a size change: its remembered place, or the
// work area's corner while it is not placed.
void place_window(const App& app) {
    if (app.WindowPlaced) {
        gfx::move_window(app.WindowX, app.WindowY);
    } else {
        const gfx::Rect area = gfx::work_area();
        gfx::move_window(area.x, area.y);
    }
}

}  // namespace

int resize_axis_step(ResizeAxis* axis, int size, int direction, int low, int high) {
    if (axis->direction != direction) {
        axis->step = 1.0f;
        axis->direction = direction;
    }
    const int applied = static_cast<int>(axis->step);
    axis->step = std::min(axis->step * 1.5f, kLargestStep);
    return std::clamp(size + direction * applied, low, high);
}

void toggle_maximise(MainView& view) {
    App& app = *view.app;
    WindowState& w = view.window;
    if (!w.maximised) {
        const gfx::Rect area = gfx::work_area();
        w.restore_x = app.WindowPlaced ? app.WindowX : area.x;
        w.restore_y = app.WindowPlaced ? app.WindowY : area.y;
        app.WindowWidth = area.w;
        app.WindowHeight = area.h;
        app.WindowPlaced = 0;
        w.maximised = 1;
    } else {
        int width = kDefaultWidth;
        int height = kDefaultHeight;
        if (!stored_window_size(&width, &height)) {
            width = kDefaultWidth;
            height = kDefaultHeight;
        }
        app.WindowX = w.restore_x;
        app.WindowY = w.restore_y;
        app.WindowWidth = width;
        app.WindowHeight = height;
        app.WindowPlaced = 1;
        w.maximised = 0;
    }
    // The main loop resizes and moves the window and lays the view out
    // again, the panels with it.
    app.RunState.store(kRelayout);
}

void set_keyboard_resize_mode(MainView& view, bool on) {
    WindowState& w = view.window;
    if (on == (w.resize_mode != 0)) return;
    w.resize_mode = on ? 1 : 0;
    if (on) {
        w.width_axis = ResizeAxis{};
        w.height_axis = ResizeAxis{};
    }
    request_redraw(view);
}

void keyboard_resize_step(MainView& view, int pressed_key) {
    App& app = *view.app;
    WindowState& w = view.window;
    auto held = [&](int vk) { return vk == pressed_key || gfx::key_down(vk) > 0; };
    int width = app.WindowWidth;
    int height = app.WindowHeight;
    bool changed = false;
    const bool left = held(gfx::kVkLeft), right = held(gfx::kVkRight);
    if (left != right) {
        width = resize_axis_step(&w.width_axis, width, right ? 1 : -1, kResizeMinWidth,
                                 kResizeMaxWidth);
        changed = true;
    }
    const bool up = held(gfx::kVkUp), down = held(gfx::kVkDown);
    if (up != down) {
        height = resize_axis_step(&w.height_axis, height, down ? 1 : -1, kResizeMinHeight,
                                  kResizeMaxHeight);
        changed = true;
    }
    if (!changed) return;
    app.WindowWidth = width;
    app.WindowHeight = height;
    gfx::resize_window(width, height);
    place_window(app);
    w.resize_pending = 1;
    request_redraw(view);
}

void finish_deferred_resize(MainView& view) {
    WindowState& w = view.window;
    if (w.resize_mode || !w.resize_pending || view.dialog.kind == kDialogWindowSize) return;
    w.resize_pending = 0;
    App& app = *view.app;
    if (app.Canvas) gfx::resize(app.Canvas, app.WindowWidth, app.WindowHeight);
    board_view_steps().layout(&view, app, app.WindowWidth, app.WindowHeight);
    if (store_window_size(app.WindowWidth, app.WindowHeight) != 0) {
        std::fprintf(stderr, "nodrel: %s cannot be written; the window size is not kept\n",
                     open_workspace_settings().path.c_str());
    }
}

}  // namespace nd
