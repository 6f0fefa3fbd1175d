// The window, its input queues and frame pacing, on SDL2. The window shows the
// screen page pixel for pixel. With no display the layer runs headless: the
// screen page exists, nothing is shown, and the queues are fed only by tests.
#pragma once

#include <cstdint>

#include "gfx/gfx.h"

namespace gfx {

// open_window flag bits.
constexpr int kWindowBorderless = 0x01;
constexpr int kWindowChild = 0x02;
constexpr int kWindowTopmost = 0x04;
constexpr int kWindowManualRefresh = 0x08;
constexpr int kWindowNoForcedExit = 0x10;
constexpr int kWindowWideMessages = 0x20;

// Mouse record kinds and flags.
constexpr uint32_t kMouseDown = 0x10;
constexpr uint32_t kMouseUp = 0x20;
constexpr uint32_t kMouseMove = 0x40;
constexpr uint32_t kMouseWheel = 0x80;
constexpr uint32_t kMouseLeft = 0x01;
constexpr uint32_t kMouseRight = 0x02;
constexpr uint32_t kMouseMiddle = 0x04;
constexpr uint32_t kModShift = 0x100;
constexpr uint32_t kModControl = 0x200;

// Key record kinds.
constexpr uint32_t kKeyDown = 1;
constexpr uint32_t kKeyUp = 2;
constexpr uint32_t kKeyChar = 4;

struct MouseMsg {
    int32_t x;
    int32_t y;
    uint32_t kind;
    uint32_t flags;
    int32_t wheel;
};
static_assert(sizeof(MouseMsg) == 20);

struct KeyMsg {
    uint32_t key;  // virtual-key code, or the character byte for kKeyChar
    uint32_t kind;
    uint32_t flags;
};
static_assert(sizeof(KeyMsg) == 12);

// ---- Window and screen page ----------------------------------------------------

void set_window_mode(int flags, int x, int y);
// Creates the window (or, headless, only the screen page) and makes the screen
// page the current target. 0 on success.
int open_window(int width, int height, int flags);
void close_window();
bool window_alive();
// Ends the frame loops: window_alive() turns false for good. Safe to call
// from a signal handler.
void request_stop();
bool headless();
// Makes the next open_window run headless even when a display exists, so
// tests never depend on one.
void force_headless(bool on);
// What the program does when its X display goes away under it: the hook
// runs once, on the window's thread, from inside the call that noticed, and
// the process then ends with the status it returns. Nothing else of the
// program runs after that point, so the hook saves what must be saved and
// must not touch the window.
using DisplayLostHook = int (*)();
void set_display_lost_hook(DisplayLostHook hook);
void set_caption(const char* gbk_text);
void move_window(int x, int y, bool redraw = true);
void hide_window();
// Resizes the window and its screen page (content lost, redrawn next frame).
void resize_window(int width, int height);

// What the rest of the program needs of the platform window.
// The usable desktop (screen less panels); headless, a 1600 x 900 screen.
Rect work_area();
void raise_window();
void minimise_window();
bool window_in_foreground();
bool window_minimised();
void* window_handle();

// ---- Input ----------------------------------------------------------------------

MouseMsg get_mouse();
bool mouse_pending();
void mouse_position(int* x, int* y);
KeyMsg get_key();
int key_pending();
int key_hit();
int get_char();
int key_down(int virtual_key);
// Where the text caret is, in client coordinates: an input method puts its
// composition box just below this rectangle.
void set_caret_rect(int x, int y, int width, int height);

// ---- Frame pacing and sleeping ----------------------------------------------------

void frame_wait(int fps);
void sleep_ms(int ms);
// For worker threads: an ordinary sleep that ignores negative values.
void plain_sleep(int ms);
// Milliseconds from a monotonic clock (the tick count).
uint64_t tick_ms();

}  // namespace gfx
