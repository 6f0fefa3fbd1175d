#include "board/board_switch.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "analysis/timeline_panel.h"
#include "board/cards.h"
#include "board/dialog.h"
#include "board/geometry.h"
#include "board/link_gesture.h"
#include "board/main_view.h"
#include "board/menu.h"
#include "store/locks.h"
#include "store/tables.h"

namespace nd {

struct SwitchJob {
    LeaveSnapshot leave;  // group -1: no board to leave
    int group = 0;
    int board = 0;
    std::atomic<bool> done{false};
};

namespace {

// The board's worker: save the board being left, then see what the new one
// holds. Its Cases are in the tables since the workspace loaded.
void run_switch(const std::shared_ptr<SwitchJob>& job) {
    set_load_progress(5.0f);
    if (job->leave.group >= 0) static_cast<void>(write_leave_snapshot(job->leave));
    set_load_progress(25.0f);
    int cases = 0;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        for (int s = 0; s < kCaseSlots; ++s) cases += find_case(job->group, job->board, s) != nullptr;
    }
    // 50 goes out before the result, so the main thread's count from 50 to
    // 100 never meets a late write; an empty board goes to 100 when the
    // main thread takes it.
    if (cases > 0) set_load_progress(50.0f);
    job->done.store(true, std::memory_order_release);
}

void finish_loading(MainView& view) {
    set_load_progress(100.0f);
    if (view.z_count > 0) select_card(view, view.z_order[0]);
    const CaseRef jump = view.switching.jump;
    view.switching.jump = CaseRef{};
    if (case_ref_set(jump)) jump_to_case(view, jump);
    request_redraw(view);
}

}  // namespace

bool board_loading(const MainView& view) {
    return view.switching.job != nullptr ||
           view.switching.cards_made < view.switching.cards_total;
}

bool switch_board(MainView& view, int group, int board) {
    if (group == view_state().group && board == view_state().board) return false;
    if (!find_board(group, board) || board_loading(view)) return false;
    close_menu(view);
    close_dialog(view);
    cancel_link_gesture(view);
    set_load_progress(0.0f);
    auto job = std::make_shared<SwitchJob>();
    job->leave = leave_snapshot(view);
    if (!find_board(job->leave.group, job->leave.board)) job->leave.group = -1;
    job->group = group;
    job->board = board;
    view.switching.job = job;
    view.switching.group_board[static_cast<size_t>(group)] = board;
    std::thread(run_switch, job).detach();
    return true;
}

void show_board(MainView& view, int group, int board) {
    ViewState& shared = view_state();
    shared.group = group;
    shared.board = board;
    shared.selected = CaseRef{};
    timeline_panel_clear();
    view.switching.group_board[static_cast<size_t>(group)] = board;
    view.card_count = 0;
    view.z_count = 0;
    view.slot_card.fill(-1);
    view.zoom = ZoomState{};
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        view.moves.fill(PendingMove{});
        view.moves_group = group;
        view.moves_board = board;
    }
    const Board* shown = find_board(group, board);
    view.origin_x = clamp_origin_x(shown ? shown->view_x : 0, view.width);
    view.origin_y = clamp_origin_y(shown ? shown->view_y : 0, view.height);

    // Cards are made front first: the display order stored in each entry's
    // ordinal is the z-order the board was left in.
    SwitchState& s = view.switching;
    s.cards_total = 0;
    s.cards_made = 0;
    for (int slot = 0; slot < kCaseSlots; ++slot) {
        if (find_case(group, board, slot)) s.order[static_cast<size_t>(s.cards_total++)] = slot;
    }
    auto ordinal = [&](int slot) {
        return shown && slot < static_cast<int>(shown->case_count) ? shown->cases[slot].ordinal
                                                                    : 0xFFFF;
    };
    std::stable_sort(s.order.begin(), s.order.begin() + s.cards_total,
                     [&](int a, int b) { return ordinal(a) < ordinal(b); });
    request_redraw(view);
    if (s.cards_total == 0) {
        finish_loading(view);
        return;
    }
    s.increment = 49.0f / static_cast<float>(s.cards_total);
    set_load_progress(50.0f);
}

bool switch_take_result(MainView& view) {
    std::shared_ptr<SwitchJob> job = view.switching.job;
    if (!job || !job->done.load(std::memory_order_acquire)) return false;
    view.switching.job.reset();
    show_board(view, job->group, job->board);
    return true;
}

void make_pending_cards(MainView& view) {
    SwitchState& s = view.switching;
    if (s.job || s.cards_made >= s.cards_total) return;
    for (int n = 0; n < kCardsPerFrame && s.cards_made < s.cards_total; ++n) {
        const int index = make_card(view, s.order[static_cast<size_t>(s.cards_made++)]);
        if (index >= 0) view.z_order[static_cast<size_t>(view.z_count++)] = index;
        add_load_progress(s.increment);
    }
    request_redraw(view);
    if (s.cards_made == s.cards_total) finish_loading(view);
}

void make_all_cards(MainView& view) {
    while (!view.switching.job && view.switching.cards_made < view.switching.cards_total) {
        make_pending_cards(view);
    }
}

}  // namespace nd
