// The cards of the shown board: made from their records, selected, moved,
// refreshed, taken off, and written back.
#include "board/cards.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "analysis/timeline_panel.h"
#include "base/gbk.h"
#include "board/board_switch.h"
#include "board/geometry.h"
#include "board/main_view.h"
#include "board/pointer.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/locks.h"
#include "store/tables.h"

namespace nd {

namespace {

// The size a card takes in its form: a title card fits its title, a window
// card keeps the size it was given, at least the smallest window.
gfx::Rect sized(const Card& card, const CaseRecord& record, int title_height) {
    gfx::Rect r{card.rect.x, card.rect.y, 0, 0};
    if (card.form == kFormTitle) {
        r.w = card.title_width + kTitlePadding;
        r.h = title_height + kTitlePadding;
    } else {
        r.w = std::max<int>(kWindowCardMinWidth, record.window_width);
        r.h = std::max<int>(kWindowCardMinHeight, record.window_height);
    }
    return r;
}

void read_links(Card& card, const CaseRecord& record, int group, int board) {
    const int count = link_count(record);
    card.link_count = 0;
    for (int i = 0; i < count; ++i) {
        const LocationRef& at = record.link_locations[i];
        const LinkDetail detail = link_detail(record, i);
        CardLink& link = card.links[static_cast<size_t>(card.link_count++)];
        const bool here = at.flag == 0 && at.group == group && at.board == board && at.slot >= 0 &&
                          at.slot < kCaseSlots;
        link.target_slot = here ? at.slot : -1;
        link.kind = detail.kind;
        link.mark_x = detail.mark_x;
        link.mark_y = detail.mark_y;
        link.relation = detail.relation;
    }
}

void place(MainView& view, Card& card) {
    const Point cell = board_cell(card.rect.x, card.rect.y, view.origin_x, view.origin_y,
                                  view.cell_width, view.cell_height);
    card.cell_column = cell.x;
    card.cell_row = cell.y;
}

// Writes a moved card's board position into its record and saves it.
// Called with StorageLock held.
void write_back_locked(MainView& view, int index) {
    Card& card = view.cards[static_cast<size_t>(index)];
    PendingMove& move = view.moves[static_cast<size_t>(card.slot)];
    if (!move.pending || !card.record) return;
    card.record->x = move.board_x;
    card.record->y = move.board_y;
    move.pending = false;
    static_cast<void>(save_case(0, card.ref.where.group, card.ref.where.board, card.slot));
}

}  // namespace

int title_text_height(const MainView& view) {
    return gfx::text_height("", view.measure);
}

int find_card(const MainView& view, const CaseRef& ref) {
    if (ref.where.group != view_state().group || ref.where.board != view_state().board) return -1;
    if (ref.where.slot < 0 || ref.where.slot >= kCaseSlots) return -1;
    return view.slot_card[static_cast<size_t>(ref.where.slot)];
}

int make_card(MainView& view, int slot) {
    const int group = view_state().group, board = view_state().board;
    CaseRecord* record = find_case(group, board, slot);
    if (!record || view.card_count >= kCaseSlots) return -1;
    const int index = view.card_count++;
    Card& card = view.cards[static_cast<size_t>(index)];
    card = Card{};
    card.slot = slot;
    card.ref.where = {0, group, board, slot};
    card.ref.key = record->key;
    card.record = record;
    card.board_x = record->x;
    card.board_y = record->y;
    const int scale = view.zoom.scale;
    card.rect.x = board_to_screen(card.board_x, view.origin_x, scale);
    card.rect.y = board_to_screen(card.board_y, view.origin_y, scale);
    view.slot_card[static_cast<size_t>(slot)] = index;
    refresh_card(view, index);
    return index;
}

void refresh_card(MainView& view, int index) {
    Card& card = view.cards[static_cast<size_t>(index)];
    const CaseRecord* record = card.record;
    if (!record) return;
    // Zoomed out, every card shows its title; its own form comes back when
    // the board is zoomed in again.
    card.saved_form = record->form & 3;
    const bool zoomed = view.zoom.scale > 1 || view.zoom.running;
    card.form = zoomed ? static_cast<int>(kFormTitle) : card.saved_form;
    card.pinned = record->pinned != 0;
    gbk_copy_field(card.title, sizeof card.title,
                   std::string_view(record->title, strnlen(record->title, sizeof record->title)));
    card.title_width = gfx::text_width(card.title, view.measure);
    card.rect = sized(card, *record, title_text_height(view));
    read_links(card, *record, card.ref.where.group, card.ref.where.board);
    place(view, card);
    request_redraw(view);
}

void show_card_forms(MainView& view, bool own) {
    for (int i = 0; i < view.card_count; ++i) {
        Card& card = view.cards[static_cast<size_t>(i)];
        if (!card.record) continue;
        card.form = own ? card.saved_form : static_cast<int>(kFormTitle);
        card.rect = sized(card, *card.record, title_text_height(view));
    }
    request_redraw(view);
}

void select_card(MainView& view, int index) {
    if (index < 0 || index >= view.card_count) return;
    auto at = std::find(view.z_order.begin(), view.z_order.begin() + view.z_count, index);
    if (at == view.z_order.begin() + view.z_count) return;
    if (at != view.z_order.begin()) {
        {
            std::lock_guard<std::mutex> hold(StorageLock);
            write_back_locked(view, view.z_order[0]);
        }
        std::rotate(view.z_order.begin(), at, at + 1);
    }
    view_state().selected = view.cards[static_cast<size_t>(index)].ref;
    timeline_panel_select(view_state().selected);
    request_redraw(view);
}

void move_card(MainView& view, int index, int x, int y) {
    Card& card = view.cards[static_cast<size_t>(index)];
    card.rect.x = x;
    card.rect.y = y;
    const int scale = view.zoom.scale;
    card.board_x = screen_to_board(x, view.origin_x, scale);
    card.board_y = screen_to_board(y, view.origin_y, scale);
    place(view, card);
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        PendingMove& move = view.moves[static_cast<size_t>(card.slot)];
        move.pending = true;
        move.board_x = card.board_x;
        move.board_y = card.board_y;
    }
    request_redraw(view);
}

void set_origin(MainView& view, int x, int y) {
    const int nx = clamp_origin_x(x, view.width), ny = clamp_origin_y(y, view.height);
    const int dx = nx - view.origin_x, dy = ny - view.origin_y;
    if (dx == 0 && dy == 0) return;
    view.origin_x = nx;
    view.origin_y = ny;
    for (int i = 0; i < view.card_count; ++i) {
        Card& card = view.cards[static_cast<size_t>(i)];
        if (card.pinned) {
            // A pinned card keeps its screen place, so its place on the
            // board changes under it.
            move_card(view, i, card.rect.x, card.rect.y);
        } else {
            card.rect.x += dx;
            card.rect.y += dy;
        }
    }
    request_redraw(view);
}

void remove_card(MainView& view, int index) {
    if (index < 0 || index >= view.card_count) return;
    const int slot = view.cards[static_cast<size_t>(index)].slot;
    for (int i = index; i + 1 < view.card_count; ++i) {
        view.cards[static_cast<size_t>(i)] = view.cards[static_cast<size_t>(i + 1)];
    }
    view.cards[static_cast<size_t>(--view.card_count)] = Card{};
    // The store moved the later Cases one slot down; the cards, their links
    // and the positions waiting for the autosave follow.
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        for (int s = slot; s + 1 < kCaseSlots; ++s) {
            view.moves[static_cast<size_t>(s)] = view.moves[static_cast<size_t>(s + 1)];
        }
        view.moves[kCaseSlots - 1] = PendingMove{};
    }
    view.slot_card.fill(-1);
    for (int i = 0; i < view.card_count; ++i) {
        Card& card = view.cards[static_cast<size_t>(i)];
        if (card.slot > slot) {
            --card.slot;
            card.ref.where.slot = card.slot;
            card.record = find_case(card.ref.where.group, card.ref.where.board, card.slot);
        }
        view.slot_card[static_cast<size_t>(card.slot)] = i;
        for (int l = 0; l < card.link_count; ++l) {
            CardLink& link = card.links[static_cast<size_t>(l)];
            if (link.target_slot == slot) link.target_slot = -1;
            if (link.target_slot > slot) --link.target_slot;
        }
    }
    int kept = 0;
    for (int z = 0; z < view.z_count; ++z) {
        const int i = view.z_order[static_cast<size_t>(z)];
        if (i == index) continue;
        view.z_order[static_cast<size_t>(kept++)] = i > index ? i - 1 : i;
    }
    view.z_count = kept;
    view_state().selected = kept > 0 ? view.cards[static_cast<size_t>(view.z_order[0])].ref
                                     : CaseRef{};
    if (kept > 0) timeline_panel_select(view_state().selected);
    request_redraw(view);
}

void jump_to_case(MainView& view, const CaseRef& ref) {
    if (ref.where.group != view_state().group || ref.where.board != view_state().board) {
        // The jump finishes once the other board's cards are made.
        if (switch_board(view, ref.where.group, ref.where.board)) view.switching.jump = ref;
        return;
    }
    const int index = find_card(view, ref);
    if (index < 0) return;
    const Card& card = view.cards[static_cast<size_t>(index)];
    set_origin(view, view.origin_x + view.width / 2 - 116 - card.rect.x,
               view.origin_y + view.height / 2 - 50 - card.rect.y);
    const gfx::Rect at = view.cards[static_cast<size_t>(index)].rect;
    const int hit = hit_test(view, at.x + 1, at.y + 1);
    if (hit_is_card(hit)) select_card(view, card_of_hit(hit));
}

LeaveSnapshot leave_snapshot(const MainView& view) {
    LeaveSnapshot snap;
    snap.group = view_state().group;
    snap.board = view_state().board;
    snap.origin_x = view.origin_x;
    snap.origin_y = view.origin_y;
    for (int z = 0; z < view.z_count; ++z) {
        const Card& card = view.cards[static_cast<size_t>(view.z_order[static_cast<size_t>(z)])];
        LeaveSnapshot::Entry& e = snap.cards[static_cast<size_t>(snap.count++)];
        e.slot = card.slot;
        e.board_x = card.board_x;
        e.board_y = card.board_y;
    }
    return snap;
}

int write_leave_snapshot(const LeaveSnapshot& snap) {
    std::lock_guard<std::mutex> hold(StorageLock);
    Board* board = find_board(snap.group, snap.board);
    if (!board) return kBoardBadCall;
    int status = 0;
    for (int i = 0; i < snap.count; ++i) {
        const LeaveSnapshot::Entry& e = snap.cards[static_cast<size_t>(i)];
        CaseRecord* record = find_case(snap.group, snap.board, e.slot);
        if (!record) continue;
        if (record->x != e.board_x || record->y != e.board_y) {
            record->x = e.board_x;
            record->y = e.board_y;
            if (save_case(0, snap.group, snap.board, e.slot) != 0) status = kCaseUnwritten;
        }
        // The display order: the top card first.
        if (e.slot < static_cast<int>(board->case_count)) {
            board->cases[e.slot].ordinal = static_cast<uint16_t>(i + 1);
        }
    }
    board->view_x = snap.origin_x;
    board->view_y = snap.origin_y;
    if (save_board(snap.group, snap.board) != 0) status = kSaveUnwritten;
    return status;
}

void save_shown_board(MainView& view) {
    if (!find_board(view_state().group, view_state().board)) return;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        for (PendingMove& move : view.moves) move.pending = false;
    }
    static_cast<void>(write_leave_snapshot(leave_snapshot(view)));
}

}  // namespace nd
