// Opening a workspace: the repair pass and the loader, and the notes both
// keep of what they found and did.
#pragma once

#include <string>
#include <vector>

namespace nd {

// One finding of the repair pass or of the loader, and what became of it.
struct RepairNote {
    enum Outcome {
        kDone,     // the repair reached the disk
        kWouldDo,  // nothing was written (a look that only reads)
        kFailed,   // the write failed; the file is as it was
    };
    Outcome outcome = kDone;
    // False for the loader's routine updates (an overdue colour, a link to a
    // Case that is gone, the default groups, a ".pass" record brought back):
    // the workspace was whole, and the user is not told.
    bool damage = true;
    std::string found;        // UTF-8: the file or item and what is wrong with it
    std::string action;       // UTF-8: what was done, or would be done
    std::string failure;      // why the write failed
    std::string message_gbk;  // what the user is told, GBK (damage only)

    // One line for logs and nodrel-tool: "<found>, <action>",
    // "<found>; a repair would: <action>" or
    // "<found>; not repaired, the write failed: <failure>".
    std::string line() const;
};
using RepairNotes = std::vector<RepairNote>;

// The user's lines of the damage notes, in order: what the program shows
// once on opening.
std::vector<std::string> damage_messages(const RepairNotes& notes);

// Load status codes.
inline constexpr int kLoadNew = 1;  // a new workspace was made
inline constexpr int kLoadOk = 0;
inline constexpr int kLoadNoRoot = -1;      // "root.frame" could not be read
inline constexpr int kLoadNoGroup = -2;     // a group file could not be read
inline constexpr int kLoadNoBoard = -3;     // a board file could not be read
inline constexpr int kLoadNoCase = -4;      // a Case record could not be read
inline constexpr int kLoadNoCaseBody = -5;  // a Case content file could not be read

// Loads the workspace under Tables.root into the tables, or makes a new one
// when its "0/frame/" directory or "root.frame" is missing or its group
// table names no group (what a creation cut short leaves; the group table is
// written last, so this is the only trace one leaves). Publishes
// LoadProgress and the loading label under ProgressLock, and on failure the
// reason (last_load_failure()).
//
// Files that open but are short are read for what they hold, the rest
// zero-filled: a short content file reads as the text it holds. A board or
// Case whose own key differs from the key its list names it by takes the
// listing key, so its saves go to the file the list names. Nothing is
// written unless every file was read: these repairs and the loader's
// routine corrections (default groups, renumbered ordinals, the overdue
// rule, stale links) are written only after a complete read, each short
// file first kept aside as "<name>.bad". Each is described in `notes` when
// given. With Tables.read_only set nothing is written or made at all: a
// missing workspace fails with -1 and the corrections stay in memory (their
// notes say they would be made).
[[nodiscard]] int load_workspace(RepairNotes* notes = nullptr);

// Status codes of repair_workspace.
inline constexpr int kRepairDone = 0;
inline constexpr int kRepairNoRoot = -1;     // there is no "root.frame"
inline constexpr int kRepairNoGroup = -2;    // a group file is missing
inline constexpr int kRepairUnwritten = -3;  // a repair could not be written; the pass went on

enum class RepairMode {
    kRepair,  // write every repair
    kDryRun,  // write nothing; the notes say what a repair would do
};

// Fixes what would stop the load or hide what the user has, before the load:
// board slots whose file is gone are marked deleted; a group, board or Case
// count past its table is cut to it; Case entries whose record is gone are
// dropped; a ".pass" record is renamed; a missing content file is made
// again empty. A short board file is kept aside as "<name>.bad" and remade
// from what is readable, keeping its slot and the Cases it still lists; when
// a board's list was cut, the Case files that no board lists are gathered
// into the recovery category "找回的 Case" of the board's group, so nothing
// the user had drops out of view. Each finding is described in `notes` when
// given. Returns a status above.
[[nodiscard]] int repair_workspace(RepairNotes* notes, RepairMode mode = RepairMode::kRepair);

}  // namespace nd
