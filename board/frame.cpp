#include "board/frame.h"

#include "board/board_switch.h"
#include "board/dialog.h"
#include "board/link_gesture.h"
#include "board/lock_screen.h"
#include "board/main_view.h"
#include "board/menu.h"
#include "board/selection_slots.h"
#include "board/top_bar.h"
#include "ui/panel.h"

namespace nd {

bool compose_frame(MainView& view) {
    gfx::IMAGE* canvas = view.canvas;
    if (view.resizing) {
        draw_resize_overlay(view, canvas);
        return view.close_requested;
    }
    if (screen_locked(view)) {
        draw_lock_screen(view, canvas);
        return view.close_requested;
    }
    if (view.window.resize_mode) {
        draw_size_hint(view, canvas);
        return view.close_requested;
    }
    draw_board_background(view, canvas);
    draw_grid_and_axes(view, canvas);
    draw_cards_and_links(view, canvas);
    draw_board_frame(view, canvas);
    ui::draw_panels(view_state().panels, canvas);
    draw_top_bar(view, canvas);
    draw_selection_slots(view, canvas);
    if (menu_is_open(view)) {
        draw_menu(view, canvas);
    } else {
        draw_dialog(view, canvas);
    }
    make_pending_cards(view);
    draw_grip_and_border(view, canvas);
    draw_rubber_line(view, canvas);
    return view.close_requested;
}

void draw_board_background(const MainView&, gfx::IMAGE*) {}
void draw_grid_and_axes(const MainView&, gfx::IMAGE*) {}
void draw_cards_and_links(const MainView&, gfx::IMAGE*) {}
void draw_board_frame(const MainView&, gfx::IMAGE*) {}
void draw_grip_and_border(const MainView&, gfx::IMAGE*) {}
void draw_resize_overlay(const MainView&, gfx::IMAGE*) {}
void draw_size_hint(const MainView&, gfx::IMAGE*) {}

}  // namespace nd
