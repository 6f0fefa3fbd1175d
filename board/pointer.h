// The board's pointer input: the hit test and the gesture table. Once a
// frame, while the board is loaded, the mouse queue is drained and each
// message turned into a gesture.
#pragma once

#include <array>
#include <cstdint>

#include "board/hit_codes.h"
#include "gfx/window/window.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

enum class DragState {
    kIdle,
    kLeftPressed,
    kRightPressed,
    kReleased,
    kDialogDrag,
    kLeftPan,
    kWheel,
    kRightPan,
    kCardDrag,
    kPanelDrag,
    kTopBarDrag,
    kWindowMove,
    kWindowResize,
};

// Mark modes of map-form cards.
enum class MarkMode { kNone, kAdd, kRemove };

// Presses closer together than this many milliseconds are a double click.
inline constexpr uint64_t kDoubleClickMs = 300;

struct PointerState {
    int x = 0;  // where the pointer is
    int y = 0;
    int hit = -1;  // the hit code there
    bool ctrl = false;  // Ctrl was down at the last message
    bool left_held = false;
    bool right_held = false;
    DragState drag = DragState::kIdle;
    int press_x = 0;  // the last left press
    int press_y = 0;
    int last_x = 0;  // the last processed move
    int last_y = 0;
    int pressed = kHitNone;  // the hit code the last left press was remembered on
    std::array<int, 256> hit_history{};
    uint8_t history_at = 0;
    std::array<uint64_t, 2> press_ticks{};  // written alternately by left presses
    int press_slot = 0;
    int dragged_card = -1;
    int window_moves = 0;  // move events counted since the window last moved
    int window_grab_x = 0;  // the pointer's offset inside the window at the press
    int window_grab_y = 0;
    int grip_dx = 0;  // the grip press's offset from the window's corner
    int grip_dy = 0;
    bool right_panned = false;
    MarkMode mark_mode = MarkMode::kNone;
    int mark_card = -1;  // the map card the mode was started on
    int resized_card = -1;  // a window card whose grip is being dragged
    int hovered_panel = 0;  // the panel last told of the pointer over it
};

// The hit code at (x, y): caption strip, grip, top bar, panels front to
// back, cards front to back, else the background. Every edge is outside.
int hit_test(const MainView& view, int x, int y);

// Drains the mouse queue.
void pointer_step(MainView& view);
// One message that arrived at `tick` (milliseconds).
void pointer_message(MainView& view, const gfx::MouseMsg& msg, uint64_t tick);

}  // namespace nd
