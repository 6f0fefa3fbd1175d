// Deleting a category (a whiteboard of the current group). Its Cases go
// first, one by one, so that at every step the board's list names only
// Cases whose files exist and no Case is left listed on a deleted board.
#include <cstdio>
#include <mutex>

#include "board/board_switch.h"
#include "board/command_case.h"
#include "board/command_rows.h"
#include "board/left_bar.h"
#include "board/main_view.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/locks.h"
#include "store/tables.h"

namespace nd {

namespace {

// The first category of the group that is still there.
int first_category(int group) {
    for (int b = 0; b < kBoardSlots; ++b)
        if (find_board(group, b)) return b;
    return -1;
}

}  // namespace

void delete_category_command(MainView& view, int, const MenuTarget& target) {
    const int group = target.target.where.group;
    const int category = target.target.where.board;
    Board* board = find_board(group, category);
    // The menu offers deletion only beside another category and never for
    // the first row; the command keeps to the same rule.
    if (!board || category == 0 || live_board_count(group) < 2) return;
    const bool shown = on_shown_board({0, group, category, -1});

    for (int slot = int(board->case_count) - 1; slot >= 0; --slot) {
        const CaseRecord* record = find_case(group, category, slot);
        CaseRef ref;
        ref.where = {0, group, category, slot};
        if (record) ref.key = record->key;
        if (!record || delete_case_through_board(view, ref) != 0) {
            std::fprintf(stderr,
                         "nodrel: a Case of the category %d.%d cannot be deleted; the category "
                         "is kept with the Cases it still holds\n",
                         group, category);
            refresh_panels_later(panel_bit(kPanelLeftBar));
            return;
        }
    }

    int status;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        status = delete_board(group, category);
    }
    if (status != 0) {
        std::fprintf(stderr, "nodrel: the category %d.%d cannot be deleted (%d); it stays, empty\n",
                     group, category, status);
    } else if (shown) {
        // The board shown is gone: the first category takes its place.
        switch_board(view, group, first_category(group));
    }
    refresh_panels_later(panel_bit(kPanelLeftBar));
    request_redraw(view);
}

void preview_category_command(MainView&, int, const MenuTarget& target) {
    if (target.target.where.group != view_state().group) return;
    left_bar_preview(target.target.where.board);
}

}  // namespace nd
