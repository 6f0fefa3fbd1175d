#include "board/frame.h"

#include "board/arrange.h"
#include "board/board_switch.h"
#include "board/dialog.h"
#include "board/link_gesture.h"
#include "board/lock_screen.h"
#include "board/main_view.h"
#include "board/menu.h"
#include "board/selection_slots.h"
#include "board/top_bar.h"
#include "board/pictures.h"
#include "board/zoom.h"
#include "skins/skin.h"
#include "ui/panel.h"

namespace nd {

namespace {

// Every part that keeps pictures follows a skin switch before the frame.
void follow_skin(MainView& view) {
    const int skin = current_skin();
    if (view.skin == skin) return;
    view.skin = skin;
    load_board_pictures(&view.pictures);
    menu_skin_changed(view);
    top_bar_skin_changed(view);
    ui::panels_skin_changed(&view_state().panels, skin);
    request_redraw(view);
}

// Whether anything changes on its own this frame: animations, cards still
// being made, the lock screen's clock, a panel that asked.
bool moving(MainView& view) {
    bool busy = zoom_animate(view);
    busy |= menu_animate(view);
    busy |= view.switching.cards_made < view.switching.cards_total;
    busy |= screen_locked(view) && lock_screen_stale(view);
    busy |= view_state().redraw;
    return busy;
}

// Step 12: a frame composed on a canvas of its own is copied to the
// window's page, which the frame pacing shows.
void present(const MainView& view) {
    gfx::IMAGE* page = gfx::screen_page();
    if (view.on_screen && page && page != view.canvas) gfx::putimage(0, 0, view.canvas, gfx::kSrcCopy, page);
}

}  // namespace

bool compose_frame(MainView& view) {
    follow_skin(view);
    if (!moving(view) && !view.dirty) return view.close_requested;
    view.dirty = false;
    view_state().redraw = false;
    gfx::IMAGE* canvas = view.canvas;
    if (view.resizing) {
        draw_resize_overlay(view, canvas);
    } else if (screen_locked(view)) {
        draw_lock_screen(view, canvas);
    } else if (view.window.resize_mode) {
        draw_size_hint(view, canvas);
    } else {
        draw_board_background(view, canvas);
        draw_grid_and_axes(view, canvas);
        draw_arrange_frames(view, canvas);
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
    }
    present(view);
    return view.close_requested;
}

}  // namespace nd
