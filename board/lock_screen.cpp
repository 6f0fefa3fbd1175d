#include "board/lock_screen.h"

#include <cstdio>
#include <ctime>

#include "board/colours.h"
#include "board/dialog.h"
#include "board/main_view.h"
#include "board/texts.h"
#include "skins/palette.h"
#include "skins/skin.h"

namespace nd {

namespace {

std::tm local_now() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return t;
}

}  // namespace

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

bool lock_screen_stale(const MainView& view) {
    const std::tm t = local_now();
    return t.tm_hour * 60 + t.tm_min != view.lock.drawn_minute;
}

// The lock screen has no picture of its own: the panel colour is its
// background.
void draw_lock_screen(MainView& view, gfx::IMAGE* canvas) {
    const std::tm t = local_now();
    view.lock.drawn_minute = t.tm_hour * 60 + t.tm_min;
    gfx::set_bk_color(palette_color(kPalPanelBackground, current_skin()), canvas);
    gfx::clear_image(canvas);
    gfx::set_color(kLockText, canvas);
    char text[64];
    std::snprintf(text, sizeof text, "%d:%02d", t.tm_hour, t.tm_min);
    gfx::set_font(90, 0, texts::kConsolas, canvas);
    gfx::text_out(50, 110, text, canvas);
    const int year = t.tm_year + 1900, month = t.tm_mon + 1;
    std::snprintf(text, sizeof text, texts::kLockDate, month, t.tm_mday,
                  texts::kWeekdays[weekday_index(year, month, t.tm_mday)]);
    gfx::set_font(48, 0, texts::kConsolas, canvas);
    gfx::text_out(50, 210, text, canvas);
    draw_dialog(view, canvas);
}

}  // namespace nd
