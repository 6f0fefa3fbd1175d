// Case files: the fixed record (".case"), its content ("_BODY.case") and the
// point file (".pos").
#pragma once

#include "store/records.h"

namespace nd {

// Status codes of this file, as the Parts number them; load_case returns
// the loader's kLoadNoCase and kLoadNoCaseBody (store/load.h).
inline constexpr int kCaseBadCall = -1;    // also a full board, for create_case
inline constexpr int kCaseUnwritten = -2;  // a file could not be written

// Creates a Case on a loaded board. The caller holds StorageLock (the
// random generator and the board's Case list are shared with the autosave
// thread). The record and a content of three line feeds are written before
// the board's Case list names them, so a crash never leaves an entry
// without its files. Returns {0, group, board, slot}; {kCaseBadCall, ...}
// when the board holds 80 Cases or the call is bad (nothing is written then);
// {kCaseUnwritten, ...}.
[[nodiscard]] LocationRef create_case(const char* title, const RecordKey& key, int group,
                                      int board);

// Saves a Case: mode 0 the record, 2 the record and the content, 1 only
// stamps the last-save key in memory. Returns 0, kCaseBadCall or
// kCaseUnwritten.
[[nodiscard]] int save_case(int mode, int group, int board, int slot);

// save_case mode 0 under StorageLock.
[[nodiscard]] int save_case_locked(int group, int board, int slot);

// Removes a Case from its board: its point file is deleted, the board's Case
// list closes the gap and its ordinals follow, the board is saved and the
// records are freed; the Case files stay on disk. Takes StorageLock.
// Returns 0, kCaseBadCall, or kCaseUnwritten when the board could not be
// saved.
[[nodiscard]] int delete_case(int group, int board, int slot);

// Reads a Case into the CaseTable at (group, board, slot): kLoadNoCase when
// its record cannot be read, kLoadNoCaseBody when its content cannot be read;
// 0 otherwise. The
// overdue rule is applied in memory; `*needs_write` is set when the record
// changed and must be written (the caller decides when).
[[nodiscard]] int load_case(const RecordKey& key, int group, int board, int slot,
                            bool* needs_write);

// The overdue rule on a record in memory for the date `today` (yyyymmdd).
// Returns true when the colour changed.
bool overdue_rule(CaseRecord& record, int32_t today);

// Applies the overdue rule to a loaded Case and writes the record when it
// changed. Returns 1 when changed, 0 when not, kCaseBadCall, or
// kCaseUnwritten when the change could not be written (it stays in memory).
[[nodiscard]] int apply_due_date(int group, int board, int slot);

// Checks the links of a loaded Case against the Cases at their target
// locations. A link whose target moved to another slot is pointed at it; a
// link whose target no longer exists is removed. The record is saved when
// anything changed. Returns the number of links changed or removed.
int check_links(int group, int board, int slot);

// Removes link `index` of a record from all three link tables: the later
// links move up one place and the freed last entries are cleared. The
// caller holds StorageLock and saves the record.
void remove_link(CaseRecord& record, uint32_t index);

// The point file of a Case, made when missing. Returns 0 or -1.
[[nodiscard]] int load_points(const CaseRecord& record, CasePointFile& out);
// Deletes the point file of a Case if there is one.
void remove_points(const CaseRecord& record);

}  // namespace nd
