// What opening a workspace does to its files before the repair pass: the
// daily snapshot and the clearing of temporary files a crashed save left;
// and the listing and restoring of snapshots (nodrel-tool).
//
// Snapshots are kept beside the workspace folder, in
// "<workspace folder>.snapshots/YYYY-MM-DD/", each holding the tree (0/ and
// 1/) as the day's first opening found it. Every save replaces a file by
// rename and never writes into it, so a snapshot is made of hard links: it
// costs almost no space or time and never changes afterwards. Where the file
// system cannot link, the files are copied.
#pragma once

#include <string>
#include <vector>

namespace nd {

inline constexpr int kSnapshotsKept = 7;

// The folder of a workspace's snapshots ("<root without its slash>.snapshots/").
std::string snapshots_dir(const std::string& root);

// Takes the snapshot `name` of the tree at `root`. It is made under a
// temporary name and renamed when whole, so a snapshot is never half there.
// 0, or -1 with the reason (UTF-8).
[[nodiscard]] int take_snapshot(const std::string& root, const std::string& name,
                                std::string* reason);

// Status codes of take_daily_snapshot.
inline constexpr int kSnapshotTaken = 1;
inline constexpr int kSnapshotHadOne = 0;  // today's was taken already, or there is no tree yet
inline constexpr int kSnapshotFailed = -1;

// At opening: takes today's snapshot (named by the local date) unless there
// is one, then keeps the last kSnapshotsKept snapshots. Runs on the loader
// thread, never on the frame loop.
[[nodiscard]] int take_daily_snapshot(const std::string& root, std::string* reason);

struct SnapshotInfo {
    std::string name;  // "YYYY-MM-DD", or "YYYY-MM-DD-hhmmss" for one kept by a restore
    int cases = 0;     // Cases its boards list; -1 when its group table cannot be read
};

// The snapshots of a workspace, oldest first.
std::vector<SnapshotInfo> list_snapshots(const std::string& root);

// Replaces the tree at `root` with the snapshot `name`, after keeping the
// present tree as a snapshot of its own (its name in `*kept_as`). The swap
// of the two trees is one rename, so an interruption leaves one or the
// other whole. The caller holds the workspace's in-use lock. 0, or -1 with
// the reason (UTF-8) and the tree as it was.
[[nodiscard]] int restore_snapshot(const std::string& root, const std::string& name,
                                   std::string* kept_as, std::string* reason);

// Removes the temporary files of saves that never finished (a crash, a
// kill), made before this process started: under the tree at `root`, and
// those of the ".wk" file `wk_path` beside it. Returns how many went.
int clear_stale_temp_files(const std::string& root, const std::string& wk_path);

}  // namespace nd
