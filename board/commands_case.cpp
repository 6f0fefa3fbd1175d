// The commands on a Case as a whole: delete it, pin or unpin its card, jump
// to it.
#include <cstdio>

#include "board/cards.h"
#include "board/command_case.h"
#include "board/command_rows.h"
#include "board/main_view.h"
#include "board/menu_items.h"
#include "content/case_window.h"
#include "store/cases.h"
#include "store/keys.h"

namespace nd {

namespace {

bool same_case(const CaseRef& a, const CaseRef& b) {
    return a.where.group == b.where.group && a.where.board == b.where.board &&
           a.where.slot == b.where.slot && same_item(a.key, b.key);
}

// A deleted Case is no longer the selected one, nor in the Ctrl selection
// list (later entries move up, as when it is toggled out); the entries for
// the Cases after it on its board move one slot down with those Cases.
void forget_case(MainView& view, const CaseRef& ref) {
    if (same_case(view_state().selected, ref)) view_state().selected = CaseRef{};
    const int64_t identity = key_time_value(ref.key);
    CtrlList& list = view.ctrl_list;
    int kept = 0;
    for (int i = 0; i < list.count; ++i) {
        CtrlEntry entry = list.entries[size_t(i)];
        LocationRef& at = entry.where;
        const bool same_board = at.group == ref.where.group && at.board == ref.where.board;
        // Cases made in the same second share an identity; the slot tells
        // them apart.
        if (same_board && at.slot == ref.where.slot && entry.identity == identity) continue;
        if (same_board && at.slot > ref.where.slot) --at.slot;
        list.entries[size_t(kept++)] = entry;
    }
    for (int i = kept; i < list.count; ++i) list.entries[size_t(i)] = CtrlEntry{};
    list.count = kept;
}

}  // namespace

int delete_case_through_board(MainView& view, const CaseRef& ref) {
    MenuTarget target;
    target.target = ref;
    if (!command_case(target)) return kCaseBadCall;
    const LocationRef at = ref.where;
    const bool shown = on_shown_board(at);
    const int card = shown ? find_card(view, ref) : -1;
    forget_case(view, ref);
    // The Case window holds the Case's record and content; it lets go of
    // them (saving what it changed) before they are freed.
    if (content::case_window_open() && same_item(content::case_window_case().key, ref.key))
        content::close_case_window();
    // Leaving nothing unsaved before the list changes: the moved cards get
    // their positions and every card its order, so no position waits for
    // the autosave while the slots shift under it.
    if (shown) save_shown_board(view);
    const int status = delete_case(at.group, at.board, at.slot);
    if (status == kCaseBadCall) return status;
    if (card >= 0) remove_card(view, card);
    if (status != 0) {
        std::fprintf(stderr,
                     "nodrel: the board %d.%d cannot be written; it still lists the deleted Case "
                     "on disk\n",
                     at.group, at.board);
    }
    request_redraw(view);
    return status;
}

void delete_case_command(MainView& view, int, const MenuTarget& target) {
    if (delete_case_through_board(view, target.target) == kCaseBadCall) return;
    refresh_panels_later(panel_bit(kPanelLeftBar) | panel_bit(kPanelAssessment) |
                         panel_bit(kPanelListView));
}

void pin_case(MainView& view, int item, const MenuTarget& target) {
    CaseRecord* record = command_case(target);
    if (!record) return;
    record->pinned = item == kItemPin ? 1 : 0;
    commit_case_change(view, target, 0);
}

void jump_command(MainView& view, int, const MenuTarget& target) {
    if (command_case(target)) jump_to_case(view, target.target);
}

}  // namespace nd
