// What the Case commands share: finding the Case a command names, and
// after a change saving it, showing it on its card and telling the panels.
#pragma once

#include <cstdint>

#include "board/commands.h"
#include "store/records.h"

namespace nd {

// The record of the Case `target` names, or null when its slot is empty or
// holds another Case by now.
CaseRecord* command_case(const MenuTarget& target);

// True when `where` lies on the whiteboard the board shows.
bool on_shown_board(const LocationRef& where);

// One bit per panel for a kRefreshPanels request.
constexpr uint32_t panel_bit(int id) {
    return uint32_t{1} << id;
}

// Asks the panels in `panels` to show what changed. A full request queue
// already holds requests the board has not carried out yet; the panels
// read the tables again with those, so nothing is lost.
void refresh_panels_later(uint32_t panels);

// After a command changed the record of `target`'s Case in memory: saves
// it under StorageLock, has its card (when the board shows it) show the
// change and asks `panels` to refresh (none when 0). A save that fails leaves the change
// in memory, where the next save of the Case writes it, and is reported on
// standard error. Returns the save's status (0 or a store status).
int commit_case_change(MainView& view, const MenuTarget& target, uint32_t panels);

// Deletes the Case `ref` names: for a Case the board shows, through its
// card (the board's moved cards and order are saved first, the card is
// taken off afterwards), otherwise through the stored records alone. The
// Case is forgotten as the selected one and in the Ctrl selection list, its
// point file goes, its board's list closes the gap and is saved; its record
// and content files stay on disk. Returns 0, kCaseBadCall when `ref` names
// no loaded Case (nothing changed), or kCaseUnwritten when the board could
// not be saved (reported on standard error; the Case is gone from memory).
int delete_case_through_board(MainView& view, const CaseRef& ref);

}  // namespace nd
