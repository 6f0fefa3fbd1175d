// The board's pointer input: the hit test and the gesture table.
#include "board/pointer.h"

#include <algorithm>
#include <mutex>

#include "board/activity.h"
#include "board/card_draw.h"
#include "board/cards.h"
#include "board/dialog.h"
#include "board/hit_codes.h"
#include "board/layout.h"
#include "board/link_gesture.h"
#include "board/lock_screen.h"
#include "board/main_view.h"
#include "board/map_marks.h"
#include "board/menu.h"
#include "board/top_bar.h"
#include "board/window_card.h"
#include "board/window_mgmt.h"
#include "board/zoom.h"
#include "gfx/window/input_queue.h"
#include "session/app.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/locks.h"
#include "ui/panel.h"

namespace nd {

namespace {

// The window moves on every fourth move event of a caption drag.
constexpr int kWindowMoveEvery = 4;

bool dragging(DragState drag) {
    switch (drag) {
        case DragState::kLeftPan:
        case DragState::kCardDrag:
        case DragState::kPanelDrag:
        case DragState::kTopBarDrag:
        case DragState::kWindowMove:
        case DragState::kWindowResize:
            return true;
        default:
            return false;
    }
}

bool left(const gfx::MouseMsg& msg) {
    return (msg.flags & gfx::kMouseLeft) != 0;
}
bool right(const gfx::MouseMsg& msg) {
    return (msg.flags & gfx::kMouseRight) != 0;
}

ui::Panel* panel_of(int hit) {
    return hit_is_panel(hit) ? ui::panel_find(&view_state().panels, hit) : nullptr;
}

bool give_panel(int hit, const gfx::MouseMsg& msg) {
    ui::Panel* panel = panel_of(hit);
    return panel && panel->hooks && panel->hooks->pointer && panel->hooks->pointer(*panel, msg);
}

Card* card_of(MainView& view, int hit) {
    if (!hit_is_card(hit) || card_of_hit(hit) >= view.card_count) return nullptr;
    return &view.cards[static_cast<size_t>(card_of_hit(hit))];
}

void pan_by(MainView& view, int dx, int dy) {
    set_origin(view, view.origin_x + dx, view.origin_y + dy);
}

void left_press(MainView& view, const gfx::MouseMsg& msg, uint64_t tick) {
    PointerState& p = view.pointer;
    p.press_x = msg.x;
    p.press_y = msg.y;
    p.last_x = msg.x;
    p.last_y = msg.y;
    p.left_held = true;
    const int previous = p.hit_history[static_cast<uint8_t>(p.history_at - 1)];
    p.hit_history[p.history_at++] = p.hit;

    // Ctrl and a press on a card: the card's Case goes in or out of the
    // selection list, and the press is done.
    if ((view.ctrl_held || p.ctrl) && hit_is_card(p.hit) && card_of_hit(p.hit) < 100 &&
        p.hit - kHitFirstCard < view.card_count && view.ctrl_list.count < kCtrlListRoom) {
        const Card& card = view.cards[static_cast<size_t>(card_of_hit(p.hit))];
        ctrl_list_toggle(&view.ctrl_list, key_time_value(card.ref.key), card.ref.where);
        return;
    }

    p.press_slot ^= 1;
    p.press_ticks[static_cast<size_t>(p.press_slot)] = tick;
    const uint64_t a = p.press_ticks[0], b = p.press_ticks[1];
    const uint64_t interval = a > b ? a - b : b - a;
    if (!dialog_is_open(view) && !menu_is_open(view) && interval < kDoubleClickMs &&
        previous == p.hit) {
        if (p.hit == kHitCaption) {
            toggle_maximise(view);
            return;
        }
        ui::Panel* panel = panel_of(p.hit);
        if (panel && panel->hooks && panel->hooks->double_click &&
            panel->hooks->double_click(*panel, msg.x, msg.y)) {
            return;
        }
    }

    if (rename_dialog_open(view) || link_gesture_active(view) ||
        p.mark_mode != MarkMode::kNone) {
        p.pressed = kHitNone;
        return;
    }
    p.pressed = p.hit;
    p.drag = DragState::kLeftPressed;
    if (hit_is_panel(p.hit)) {
        ui::panel_bring_to_front(&view_state().panels, p.hit);
        give_panel(p.hit, msg);
    } else if (Card* card = card_of(view, p.hit)) {
        select_card(view, card_of_hit(p.hit));
        if (card->form != kFormTitle && in_window_grip(card->rect, msg.x, msg.y)) {
            p.resized_card = card_of_hit(p.hit);
        }
    } else if (p.hit == kHitTopBar) {
        top_bar_pointer(view, msg);
    } else if (p.hit == kHitGrip) {
        p.grip_dx = view.width - msg.x;
        p.grip_dy = view.height - msg.y;
    } else if (p.hit == kHitCaption) {
        p.window_moves = 0;
    }
}

void move_window(MainView& view, const gfx::MouseMsg& msg) {
    PointerState& p = view.pointer;
    p.drag = DragState::kWindowMove;
    request_activity(view, kActivityWindowMove);
    if (++p.window_moves < kWindowMoveEvery) return;
    p.window_moves = 0;
    App* app = view.app;
    if (!app) return;
    // The pointer keeps its offset from the press point inside the window.
    app->WindowX += msg.x - p.press_x;
    app->WindowY += msg.y - p.press_y;
    app->WindowPlaced = 1;
    gfx::move_window(app->WindowX, app->WindowY, false);
}

void drag_card(MainView& view, const gfx::MouseMsg& msg, int dx, int dy) {
    PointerState& p = view.pointer;
    if (p.resized_card >= 0) {
        Card& card = view.cards[static_cast<size_t>(p.resized_card)];
        card.rect.w = std::max(kWindowCardMinWidth, card.rect.w + dx);
        card.rect.h = std::max(kWindowCardMinHeight, card.rect.h + dy);
        p.drag = DragState::kCardDrag;
        request_activity(view, kActivityDrag);
        request_redraw(view);
        return;
    }
    if (p.drag != DragState::kCardDrag) {
        // A drag starts only inside the top card, which the press selected;
        // window-form cards move by their caption.
        if (view.z_count == 0) return;
        const int top = view.z_order[0];
        const Card& card = view.cards[static_cast<size_t>(top)];
        const bool by_caption = p.press_y < card.rect.y + kWindowCaptionHeight;
        if (!card.rect.strictly_contains(msg.x, msg.y)) return;
        if (card.form != kFormTitle && !by_caption) return;
        p.dragged_card = top;
        p.drag = DragState::kCardDrag;
        select_card(view, top);
    }
    Card& card = view.cards[static_cast<size_t>(p.dragged_card)];
    move_card(view, p.dragged_card, card.rect.x + dx, card.rect.y + dy);
    request_activity(view, kActivityDrag);
}

// The pointer's movement since the last processed move; false when it has
// not moved, and such a move is not processed.
bool moved_by(PointerState& p, const gfx::MouseMsg& msg, int* dx, int* dy) {
    if (msg.x == p.last_x && msg.y == p.last_y) return false;
    *dx = msg.x - p.last_x;
    *dy = msg.y - p.last_y;
    p.last_x = msg.x;
    p.last_y = msg.y;
    return true;
}

void left_move(MainView& view, const gfx::MouseMsg& msg) {
    PointerState& p = view.pointer;
    int dx = 0, dy = 0;
    if (!moved_by(p, msg, &dx, &dy)) return;
    if (p.pressed == kHitCaption || p.drag == DragState::kWindowMove) {
        move_window(view, msg);
    } else if (p.pressed == kHitGrip) {
        p.drag = DragState::kWindowResize;
        view.resizing = true;
        view.resize_width = msg.x + p.grip_dx;
        view.resize_height = msg.y + p.grip_dy;
        request_activity(view, kActivityWindowResize);
        request_redraw(view);
    } else if (p.pressed == kHitBackground) {
        if (dialog_is_open(view) || menu_is_open(view) || link_gesture_active(view) ||
            p.mark_mode != MarkMode::kNone) {
            return;
        }
        p.drag = DragState::kLeftPan;
        pan_by(view, dx, dy);
        request_activity(view, kActivityPan);
    } else if (hit_is_card(p.pressed)) {
        drag_card(view, msg, dx, dy);
    } else if (hit_is_panel(p.pressed)) {
        p.drag = DragState::kPanelDrag;
        give_panel(p.pressed, msg);
        request_activity(view, kActivityDrag);
    } else if (p.pressed == kHitTopBar) {
        p.drag = DragState::kTopBarDrag;
        top_bar_pointer(view, msg);
    }
}

// A window card's new size is kept in its record.
void finish_card_resize(MainView& view) {
    PointerState& p = view.pointer;
    Card& card = view.cards[static_cast<size_t>(p.resized_card)];
    p.resized_card = -1;
    if (!card.record) return;
    std::lock_guard<std::mutex> hold(StorageLock);
    card.record->window_width = static_cast<uint16_t>(card.rect.w);
    card.record->window_height = static_cast<uint16_t>(card.rect.h);
    static_cast<void>(save_case(0, card.ref.where.group, card.ref.where.board, card.slot));
}

void left_release(MainView& view, const gfx::MouseMsg& msg) {
    PointerState& p = view.pointer;
    p.left_held = false;
    p.dragged_card = -1;
    if (view.resizing) {
        // The main loop makes the window and canvas at the new size.
        view.resizing = false;
        view.border = true;
        if (App* app = view.app) {
            app->WindowWidth = std::max(1, view.resize_width);
            app->WindowHeight = std::max(1, view.resize_height);
            app->RunState.store(kRecreateCanvas);
        }
    }
    if (hit_is_panel(p.pressed)) give_panel(p.pressed, msg);
    if (p.pressed == kHitTopBar) top_bar_pointer(view, msg);
    if (link_gesture_active(view)) complete_link_gesture(view, msg.x, msg.y);
    if (p.resized_card >= 0) finish_card_resize(view);
    if (p.mark_mode != MarkMode::kNone && hit_is_card(p.hit)) {
        mark_click(view, card_of_hit(p.hit), msg.x, msg.y);
    }
    p.pressed = kHitNone;
    p.drag = DragState::kIdle;
    end_activity(view);
}

void right_press(MainView& view, const gfx::MouseMsg& msg) {
    PointerState& p = view.pointer;
    cancel_link_gesture(view);
    p.mark_mode = MarkMode::kNone;
    p.mark_card = -1;
    p.right_held = true;
    p.right_panned = false;
    p.last_x = msg.x;
    p.last_y = msg.y;
    p.drag = DragState::kRightPressed;
}

void right_move(MainView& view, const gfx::MouseMsg& msg) {
    PointerState& p = view.pointer;
    int dx = 0, dy = 0;
    if (!moved_by(p, msg, &dx, &dy)) return;
    if (menu_is_open(view) || p.hit == kPanelListView || p.hit == kPanelAssessment) return;
    p.drag = DragState::kRightPan;
    p.right_panned = true;
    pan_by(view, dx, dy);
    request_activity(view, kActivityPan);
}

void right_release(MainView& view, const gfx::MouseMsg& msg) {
    PointerState& p = view.pointer;
    p.right_held = false;
    p.drag = DragState::kIdle;
    end_activity(view);
    if (p.right_panned) return;
    if (menu_is_open(view)) close_menu(view);
    open_menu_at(view, p.hit, msg.x, msg.y);
    if (menu_is_open(view)) request_activity(view, kActivityMenu);
}

void wheel(MainView& view, const gfx::MouseMsg& msg) {
    const int hit = view.pointer.hit;
    if (hit_is_panel(hit)) {
        ui::Panel* panel = panel_of(hit);
        if (panel && panel->hooks && panel->hooks->wheel) {
            panel->hooks->wheel(*panel, msg.x, msg.y, msg.wheel);
        }
        return;
    }
    if (Card* card = card_of(view, hit)) {
        scroll_window_card(*card, msg.wheel);
        return;
    }
    if (hit == kHitBackground && zoom_wheel(view, msg.wheel)) {
        request_activity(view, kActivityWheel);
    }
}

}  // namespace

int hit_test(const MainView& view, int x, int y) {
    const gfx::Rect bar = top_bar_rect(view.width);
    if (y < bar.y) return kHitCaption;
    const gfx::Rect grip = grip_rect(view.width, view.height);
    if (x > grip.x && x < view.width && y > grip.y && y < view.height) return kHitGrip;
    if (bar.strictly_contains(x, y)) return kHitTopBar;
    if (const int panel = ui::panel_hit(view_state().panels, x, y)) return panel;
    for (int z = 0; z < view.z_count; ++z) {
        const int i = view.z_order[static_cast<size_t>(z)];
        if (card_shown(view, i) && view.cards[static_cast<size_t>(i)].rect.strictly_contains(x, y)) {
            return kHitFirstCard + i;
        }
    }
    return kHitBackground;
}

void pointer_step(MainView& view) {
    gfx::MouseQueue::Entry entry;
    while (gfx::mouse_queue().pop(&entry)) pointer_message(view, entry.msg, entry.tick);
}

void pointer_message(MainView& view, const gfx::MouseMsg& msg, uint64_t tick) {
    PointerState& p = view.pointer;
    p.x = msg.x;
    p.y = msg.y;
    // Each message says whether Ctrl was down, besides the hot-key step.
    p.ctrl = (msg.flags & gfx::kModControl) != 0;
    // A drag keeps the object it started on; otherwise the object under the
    // pointer is found again.
    if (!dragging(p.drag)) p.hit = hit_test(view, msg.x, msg.y);
    request_redraw(view);
    // Behind the lock only the unlock dialog is there.
    if (screen_locked(view)) {
        if (view.dialog.hooks && view.dialog.hooks->pointer) view.dialog.hooks->pointer(view, msg);
        return;
    }
    if (menu_is_open(view) && menu_pointer(view, msg)) return;
    if (dialog_is_open(view) && view.dialog.hooks && view.dialog.hooks->pointer &&
        view.dialog.hooks->pointer(view, msg)) {
        return;
    }
    switch (msg.kind) {
        case gfx::kMouseDown:
            if (left(msg)) left_press(view, msg, tick);
            if (right(msg)) right_press(view, msg);
            break;
        case gfx::kMouseMove:
            if (p.left_held) {
                left_move(view, msg);
            } else if (p.right_held) {
                right_move(view, msg);
            } else if (p.hit == kHitTopBar) {
                top_bar_pointer(view, msg);
            }
            break;
        case gfx::kMouseUp:
            if (left(msg)) left_release(view, msg);
            if (right(msg)) right_release(view, msg);
            break;
        case gfx::kMouseWheel:
            wheel(view, msg);
            break;
        default:
            break;
    }
}

}  // namespace nd
