// Opening a workspace: the repair pass and the loader.
#pragma once

#include <string>
#include <vector>

namespace nd {

// Load status codes.
inline constexpr int kLoadNew = 1;  // a new workspace was made
inline constexpr int kLoadOk = 0;
inline constexpr int kLoadNoRoot = -1;      // "root.frame" could not be read
inline constexpr int kLoadNoGroup = -2;     // a group file could not be read
inline constexpr int kLoadNoBoard = -3;     // a board file could not be read
inline constexpr int kLoadNoCase = -4;      // a Case record could not be read
inline constexpr int kLoadNoCaseBody = -5;  // a Case content file could not be read

// Loads the workspace under Tables.root into the tables, or makes a new one
// when its "0/frame/" directory or "root.frame" is missing. Publishes
// LoadProgress and the loading label under ProgressLock, and on failure the
// reason (last_load_failure()). Nothing is written unless every file was read:
// the corrections the loader makes (default groups, renumbered ordinals, the
// overdue rule, stale links) are written only after a complete read. With
// Tables.read_only set nothing is written or made at all: a missing workspace
// fails with -1 and the corrections stay in memory.
[[nodiscard]] int load_workspace();

// Status codes of repair_workspace.
inline constexpr int kRepairDone = 0;
inline constexpr int kRepairNoRoot = -1;     // there is no "root.frame"
inline constexpr int kRepairNoGroup = -2;    // a group file is missing
inline constexpr int kRepairUnwritten = -3;  // a repair could not be written; the pass went on

// Fixes what would stop the load for files that are simply missing: board
// slots whose file is gone are marked deleted, a group, board or Case count
// past its table is cut to it, Case entries whose record is gone are dropped, a
// ".pass" record is renamed, and a missing content file is made again empty.
// Each finding is described in `notes` (UTF-8) when given: what was done once
// its write succeeded, or that the write failed and why. Returns a status
// above.
[[nodiscard]] int repair_workspace(std::vector<std::string>* notes);

}  // namespace nd
