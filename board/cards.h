// The cards of the shown board as the rest of the board changes them:
// selecting, finding, refreshing after a command changed a Case, taking a
// deleted Case's card off, jumping to a Case, and saving what the board
// shows.
#pragma once

#include <array>

#include "session/view_state.h"
#include "store/records.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

// Makes the card of the Case in `slot` of the current board, placed from
// its stored board position at the current origin and scale. Its index, or
// -1 when the slot is empty.
int make_card(MainView& view, int slot);
// The height of a title card's text (the title font's cell).
int title_text_height(const MainView& view);
// Shows every card in its own form, or every card by its title (the board
// zoomed out).
void show_card_forms(MainView& view, bool own);
// The card showing `ref` on the current board, or -1.
int find_card(const MainView& view, const CaseRef& ref);
// Brings card `index` to the top of the z-order; a previous top card that
// was moved has its board position written back first.
void select_card(MainView& view, int index);
// Reads again what card `index` shows from its record (colour, kind, pin,
// title, form, links) after a command changed the Case.
void refresh_card(MainView& view, int index);
// Takes card `index` off the board after its Case was deleted from the
// store: later cards and slots move down one place, and links follow.
void remove_card(MainView& view, int index);
// Shows the Case: switches boards when it lies on another, pans so that its
// card's top-left lies at (W/2 - 116, H/2 - 50) and selects it.
void jump_to_case(MainView& view, const CaseRef& ref);
// Pans the board so that its origin is at (x, y), clamped. Unpinned cards
// move with it; pinned ones keep their screen place.
void set_origin(MainView& view, int x, int y);
// Puts card `index` at screen (x, y): its board place and cell follow, and
// the autosave thread will save it.
void move_card(MainView& view, int index, int x, int y);

// What leaving a board writes: each card's board place, front to back (the
// display order), and the view origin. Taken on the main thread, written on
// any (the board-switch worker writes it while the frame loop runs).
struct LeaveSnapshot {
    struct Entry {
        int slot = 0;
        int32_t board_x = 0;
        int32_t board_y = 0;
    };
    int group = -1;
    int board = -1;
    int32_t origin_x = 0;
    int32_t origin_y = 0;
    std::array<Entry, kCaseSlots> cards{};
    int count = 0;
};
LeaveSnapshot leave_snapshot(const MainView& view);
// Under StorageLock: saves each Case whose stored place differs, writes the
// display order into the board's Case list and the origin into the board,
// and saves the board. 0, or the store's status of the first write that
// failed (the rest are still tried).
[[nodiscard]] int write_leave_snapshot(const LeaveSnapshot& snap);
// Saves the board shown as leaving it does: the moved cards' positions,
// every card's display order, and the board's view origin.
void save_shown_board(MainView& view);

}  // namespace nd
