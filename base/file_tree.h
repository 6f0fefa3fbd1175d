// Whole folder trees: walking them, linking one into a copy, removing one,
// and clearing the temporary files a crashed replace left in one. The
// workspace's snapshots and its upkeep at opening are made of these.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace nd {

// Calls `visit` with the path of every regular file under `dir`, symbolic
// links not followed. A folder that cannot be read is passed over. False
// when `dir` itself cannot be read.
bool walk_files(const std::string& dir, const std::function<void(const std::string& path)>& visit);

// Makes the tree `to` (which must not exist) hold every regular file of the
// tree `from`: each file a hard link of the original where the file system
// allows one, else a copy with the same permissions. Symbolic links are not
// taken. Files whose name
// `leave_out` accepts are not taken. kIoOk, or kIoFailed (errno kept, what
// was made is left for the caller to remove).
[[nodiscard]] int link_tree(const std::string& from, const std::string& to,
                            const std::function<bool(const std::string& name)>& leave_out);

// Removes `dir` and everything in it. False when anything stayed.
bool remove_tree(const std::string& dir);

// When this process started, in seconds since the epoch.
int64_t process_start_time();

// Removes under `dir` every temporary file of a replace (is_temp_name) last
// changed before `before` (seconds since the epoch). Returns how many went.
int remove_stale_temp_files(const std::string& dir, int64_t before);

}  // namespace nd
