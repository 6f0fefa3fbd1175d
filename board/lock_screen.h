// The lock state: while the screen is locked the frame shows only the lock
// screen (the time, the date and the unlock dialog), and only the unlock
// dialog takes input. Locking and unlocking are board/password.h's. The
// state is never stored.
#pragma once

#include "gfx/gfx.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

struct LockState {
    bool locked = false;
    int drawn_minute = -1;  // the minute the lock screen last showed
};

// 0 Monday ... 6 Sunday, January and February counted as months 13 and 14
// of the year before.
int weekday_index(int year, int month, int day);

bool screen_locked(const MainView& view);
// True when the lock screen's clock has moved on since it was drawn.
bool lock_screen_stale(const MainView& view);
void draw_lock_screen(MainView& view, gfx::IMAGE* canvas);

}  // namespace nd
