#include "board/lock_screen.h"

#include "board/main_view.h"

namespace nd {

int weekday_index(int year, int month, int day) {
    if (month < 3) {
        month += 12;
        year -= 1;
    }
    return (day + 2 * month + (3 * month + 3) / 5 + year + year / 4 - year / 100 + year / 400) % 7;
}

bool screen_locked(const MainView& view) {
    return view.lock.locked;
}

bool lock_screen_stale(const MainView&) {
    return false;
}

void draw_lock_screen(MainView&, gfx::IMAGE*) {}

}  // namespace nd
