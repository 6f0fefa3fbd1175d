// Case files: the fixed record (".case"), its content ("_BODY.case") and the
// point file (".pos").
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

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

// What load_case found in a Case's files.
struct CaseLoad {
    bool recoloured = false;      // the overdue rule changed the colour
    bool key_mended = false;      // the record's own key named another file
    bool link_count_cut = false;  // a link count past the table was cut to it
    // What a short file held (its bytes are zero-filled past it in memory),
    // kept so the file can be kept aside before it is made whole.
    bool record_short = false;
    bool body_short = false;
    std::string record_held;
    std::string body_held;
};

// Reads a Case into the CaseTable at (group, board, slot) under the key its
// board lists (`key`): kLoadNoCase when its record cannot be read,
// kLoadNoCaseBody when its content cannot be read; 0 otherwise. A short file
// is read for what it holds; a record whose own key differs from `key` takes
// `key`. The overdue rule is applied in memory. Nothing is written: `report`
// (when given) says what must be (the caller decides when).
[[nodiscard]] int load_case(const RecordKey& key, int group, int board, int slot, CaseLoad* report);

// Gives a Case record the key its board lists it by when its own key would
// name another file; the last-save key follows in type and serial. True when
// anything changed.
bool mend_case_key(CaseRecord& record, const RecordKey& listing);

// The overdue rule on a record in memory for the date `today` (yyyymmdd).
// Returns true when the colour changed.
bool overdue_rule(CaseRecord& record, int32_t today);

// Applies the overdue rule to a loaded Case and writes the record when it
// changed. Returns 1 when changed, 0 when not, kCaseBadCall, or
// kCaseUnwritten when the change could not be written (it stays in memory).
[[nodiscard]] int apply_due_date(int group, int board, int slot);

// The loaded Cases by identity (clock fields, serial and type), for finding
// where the target of a stale link is now: one table look-up per stale link
// instead of a walk over every table row.
class CaseIndex {
public:
    // Indexes every Case in the tables; the first of two with one identity
    // wins, as a walk in table order would find it.
    void build();
    bool find(const RecordKey& key, LocationRef& where) const;

private:
    struct Identity {
        int64_t time;
        uint16_t serial;
        uint16_t type;
        bool operator==(const Identity&) const = default;
    };
    struct Hash {
        size_t operator()(const Identity& id) const;
    };
    static Identity identity_of(const RecordKey& key);
    std::unordered_map<Identity, LocationRef, Hash> where_;
};

// Checks the links of a loaded Case against the Cases at their target
// locations. A link whose target moved to another slot is pointed at it
// (found through `index`); a link whose target no longer exists is removed.
// Pointing a moved target's link at where it is now, rather than dropping
// it, is deliberate: the check compares clock fields only, so a Case that
// moved would otherwise lose every link to it, and a link is something the
// user made. Returns the number of links changed or removed; the caller
// saves the record when it is not 0.
int check_links(int group, int board, int slot, const CaseIndex& index);

// Removes link `index` of a record from all three link tables: the later
// links move up one place and the freed last entries are cleared. The
// caller holds StorageLock and saves the record.
void remove_link(CaseRecord& record, uint32_t index);

// Adds a link to the end of a record's three link tables, as the link
// gesture makes it: to the Case `key` at `where`, tight or loose, ending at
// `mark` of a map-form target or (null) at the card. False, with nothing
// changed, when the record already holds kMaxLinks links. The caller holds
// StorageLock (for a loaded Case) and saves the record.
[[nodiscard]] bool add_link(CaseRecord& record, const RecordKey& key, const LocationRef& where,
                            bool tight, const MapMark* mark = nullptr);

// The links a reader may walk: a damaged count is cut to the table.
int link_count(const CaseRecord& record);

// The third-table entry of link `index` (below link_count()).
LinkDetail link_detail(const CaseRecord& record, int index);

// True when two locations name the same slot (the flag is not compared).
inline bool same_location(const LocationRef& a, const LocationRef& b) {
    return a.group == b.group && a.board == b.board && a.slot == b.slot;
}

// The point file of a Case, made when missing. Returns 0 or -1.
[[nodiscard]] int load_points(const CaseRecord& record, CasePointFile& out);
// Deletes the point file of a Case if there is one.
void remove_points(const CaseRecord& record);

}  // namespace nd
