// Content changes reach the disk through the autosave path, not per
// keystroke: an edit marks its Case, and the autosave thread (or the host
// when a Case window closes or the program quits) writes every marked Case
// with its record and content (save_case mode 2).
#pragma once

#include "store/records.h"

namespace nd::content {

// A Case in the tables, with its creation key so a Case that moved to
// another slot of its board (a Case before it was deleted) is still found.
struct CaseRef {
    int group = -1;
    int board = -1;
    int slot = -1;
    RecordKey key{};
};

// Marks the Case for the next save. The caller holds StorageLock (every
// content change does); no allocation once a few Cases have been marked.
void mark_content_changed(const CaseRef& ref);

// True while the Case is marked. The caller holds StorageLock.
bool content_changed(const CaseRef& ref);

// Writes every marked Case (mode 2) under StorageLock and clears its mark.
// A Case that can no longer be found is dropped; one whose write fails stays
// marked for the next round. Returns the number written, or -2 when any
// write failed.
[[nodiscard]] int save_changed_contents();
// The same for a caller that holds StorageLock (the autosave thread).
[[nodiscard]] int save_changed_contents_locked();

}  // namespace nd::content
