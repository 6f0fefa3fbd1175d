// The hot-key step: the Ctrl and Alt state, Ctrl+Alt for links and the
// keyboard resize mode, then every queued key to the resize mode, an open
// dialog, an open menu, the board's shortcuts or the panel with the focus,
// in that order.
#include "board/keyboard.h"

#include "board/about_page.h"
#include "board/cards.h"
#include "board/dialog.h"
#include "board/link_gesture.h"
#include "board/lock_screen.h"
#include "board/main_view.h"
#include "board/menu.h"
#include "board/pointer.h"
#include "board/window_mgmt.h"
#include "gfx/window/key_map.h"
#include "gfx/window/window.h"
#include "ui/keys.h"

namespace nd {

namespace {

// The direct commands of menu_direct_command.
constexpr int kRequestLink = 1;
constexpr int kRequestSort = 2;

// The menu target of the object under the pointer, for the shortcuts that
// act there.
bool target_under_pointer(const MainView& view, MenuTarget* target) {
    int x = 0;
    int y = 0;
    gfx::mouse_position(&x, &y);
    return menu_target_at(view, hit_test(view, x, y), x, y, target);
}

// Runs what `request` yields on `target`; false when it yields nothing.
bool run_direct(MainView& view, const MenuTarget& target, int request) {
    const int item = menu_direct_command(view, target, request);
    if (item < 0) return false;
    run_command(view, item, target);
    return true;
}

// 梳理 on the object under the pointer; for Esc, else on the top card.
void sort_view_shortcut(MainView& view, bool or_top_card) {
    MenuTarget target;
    if (target_under_pointer(view, &target) && run_direct(view, target, kRequestSort)) return;
    if (!or_top_card || view.z_count == 0) return;
    const int top = view.z_order[0];
    const gfx::Rect& r = view.cards[size_t(top)].rect;
    if (menu_target_at(view, kHitFirstCard + top, r.x, r.y, &target))
        run_direct(view, target, kRequestSort);
}

// Esc: cancels a link gesture, or closes the about page or the update note
// under the pointer, or else runs 梳理.
void escape(MainView& view) {
    if (link_gesture_active(view)) {
        cancel_link_gesture(view);
        request_redraw(view);
        return;
    }
    int x = 0;
    int y = 0;
    gfx::mouse_position(&x, &y);
    const int hit = ui::panel_hit(view_state().panels, x, y);
    if (hit == kPanelAbout) {
        toggle_about_page(view);
        return;
    }
    if (hit == kPanelUpdateNote) {
        if (ui::Panel* note = ui::panel_find(&view_state().panels, kPanelUpdateNote)) {
            note->visible = false;
            request_redraw(view);
        }
        return;
    }
    sort_view_shortcut(view, true);
}

// After Ctrl+Tab, Ctrl counts as released until it really is, which also
// ends the resize mode.
void release_ctrl(MainView& view) {
    view.window.ctrl_ignored = true;
    view.ctrl_held = false;
    set_keyboard_resize_mode(view, false);
}

// Ctrl with a key: true when it was one of the board's shortcuts.
bool ctrl_shortcut(MainView& view, int key) {
    MenuTarget centre;
    centre.x = view.width / 2;
    centre.y = view.height / 2;
    switch (key) {
        case 'N':
            run_command(view, kItemNewCase, centre);
            return true;
        case 'L':
            run_command(view, kItemLock, centre);
            return true;
        case 'D':
            sort_view_shortcut(view, false);
            return true;
        case 'F':
            // The search panel, once it is in the panel list.
            if (ui::Panel* search = ui::panel_find(&view_state().panels, kPanelSearch)) {
                search->visible = !search->visible;
                request_redraw(view);
            }
            return true;
        case 'R':
            set_origin(view, 0, 0);
            request_redraw(view);
            return true;
        case '1':
        case '2':
        case '3':
        case '4':
            run_command(view, kItemCompact + (key - '1'), centre);
            return true;
        case gfx::kVkTab:
            release_ctrl(view);
            return true;
        default:
            return false;
    }
}

// The characters Ctrl+N, L, D, F and R type besides their key-down; the
// shortcut has used the key already.
bool shortcut_character(int character) {
    return character == 'N' - 64 || character == 'L' - 64 || character == 'D' - 64 ||
           character == 'F' - 64 || character == 'R' - 64;
}

// The search panel or the content editor, when it is the front panel.
ui::Panel* focused_panel() {
    ui::PanelList& list = view_state().panels;
    if (list.count == 0) return nullptr;
    ui::Panel& front = list.panels[0];
    const bool takes_keys = front.id == kPanelSearch || front.id == kPanelContentEditor;
    return takes_keys && front.visible && front.hooks && front.hooks->key ? &front : nullptr;
}

bool is_arrow(uint32_t key) {
    return key == gfx::kVkLeft || key == gfx::kVkRight || key == gfx::kVkUp || key == gfx::kVkDown;
}

void handle_key(MainView& view, const gfx::KeyMsg& key) {
    const bool down = key.kind == gfx::kKeyDown;
    // Behind the lock every key goes to the unlock dialog and nowhere else.
    if (screen_locked(view)) {
        const int code = ui::edit_code(key);
        if (code != ui::kKeyNone && view.dialog.hooks && view.dialog.hooks->key)
            view.dialog.hooks->key(view, code);
        return;
    }
    if (down && view.ctrl_held && view.alt_held && is_arrow(key.key) && !view.window.resize_mode) {
        cancel_link_gesture(view);
        set_keyboard_resize_mode(view, true);
    }
    if (view.window.resize_mode) {
        keyboard_resize_step(view, down ? int(key.key) : 0);
        if (down && key.key == gfx::kVkTab && (key.flags & gfx::kModControl)) release_ctrl(view);
        return;
    }
    const int code = ui::edit_code(key);
    if (dialog_is_open(view)) {
        if (code != ui::kKeyNone && view.dialog.hooks && view.dialog.hooks->key)
            view.dialog.hooks->key(view, code);
        return;
    }
    if (menu_is_open(view)) {
        if (key.kind == gfx::kKeyChar) menu_key(view, int(key.key));
        return;
    }
    if (down && (key.flags & gfx::kModControl) && ctrl_shortcut(view, int(key.key))) return;
    if (down && key.key == gfx::kVkEscape) {
        escape(view);
        return;
    }
    // Esc arrives as a character too; it was handled with its key-down.
    if (key.kind == gfx::kKeyChar && (key.key == 27 || shortcut_character(int(key.key)))) return;
    ui::Panel* panel = focused_panel();
    if (panel && code != ui::kKeyNone) panel->hooks->key(*panel, code);
}

}  // namespace

void keyboard_step(MainView& view) {
    const bool ctrl_down = gfx::key_down(gfx::kVkControl) > 0;
    if (!ctrl_down) view.window.ctrl_ignored = false;
    const bool ctrl = ctrl_down && !view.window.ctrl_ignored;
    const bool alt = gfx::key_down(gfx::kVkMenu) > 0;
    const bool ctrl_alt = ctrl && alt;
    if (!ctrl_alt) set_keyboard_resize_mode(view, false);
    // Holding Ctrl and Alt together starts linking from what is under the
    // pointer, once, when the second of them goes down.
    if (ctrl_alt && !(view.ctrl_held && view.alt_held) && !menu_is_open(view) &&
        !dialog_is_open(view) && !screen_locked(view)) {
        MenuTarget target;
        if (target_under_pointer(view, &target)) run_direct(view, target, kRequestLink);
    }
    view.ctrl_held = ctrl;
    view.alt_held = alt;
    while (gfx::key_pending() > 0) handle_key(view, gfx::get_key());
}

}  // namespace nd
