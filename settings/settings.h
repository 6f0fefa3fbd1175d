// The settings files: "config.cfg" (program settings), "table.cfg" (recent
// workspaces) and the workspace's ".wk" record, all in the sealed envelope.
//
// Every function returns 0 (or an index) on success and a small negative
// number on failure; where a user must be told, a reason is given in UTF-8.
// A file whose envelope is damaged is treated as missing, but it is first
// kept aside as "<name>.bad" (keep_aside, base/file_io.h) so nothing the user
// had is overwritten.
#pragma once

#include <string>

#include "base/file_io.h"
#include "settings/envelope.h"
#include "settings/records.h"

namespace nd {

inline constexpr uint8_t kProductCode = 2;  // nodrel's product and profile
inline constexpr uint32_t kVersionMajor = 6;
inline constexpr uint32_t kVersionMinor = 0;
inline constexpr uint32_t kVersionPatch = 0;

// Reads and unseals a settings file whose record has `size` bytes.
// Returns 0, kSealedMissing, or kSealedDamaged (the file is left in place).
inline constexpr int kSealedMissing = -1;
inline constexpr int kSealedDamaged = -2;
[[nodiscard]] int read_sealed(const std::string& path, void* record, size_t size);

// Seals and writes a record crash-safely. Returns 0 or -1.
[[nodiscard]] int write_sealed(const std::string& path, const void* record, size_t size);

// ---- config.cfg ----

void default_config(ConfigRecord& cfg);

// Start-up: a missing, short or damaged file is replaced by the defaults
// (a damaged one kept aside first, and left alone when it cannot be moved);
// the record is read and saved again at once with a fresh key. Returns 0, or
// -1 when the file could not be written (the record in memory is still
// usable).
[[nodiscard]] int load_config(const std::string& path, ConfigRecord& cfg);

// Reads without writing anything (the updater's view). Returns 0,
// kSealedMissing or kSealedDamaged.
[[nodiscard]] int read_config(const std::string& path, ConfigRecord& cfg);

// Writes the program's version 6.0.0 into its profile, then the file.
[[nodiscard]] int save_config(const std::string& path, ConfigRecord& cfg);

// Writes the record as it is (the updater records the version it installed).
[[nodiscard]] int write_config(const std::string& path, const ConfigRecord& cfg);

// ---- table.cfg ----

struct RecentList {
    RecentTable table;
    std::string file;  // path of "table.cfg"
};

// Loads the list; a missing file is written zeroed first, a damaged one is
// kept aside and replaced (and left alone when it cannot be moved). Returns
// 0, or -1 when it could not be written; the list in memory is usable
// either way.
[[nodiscard]] int load_recent(RecentList& list, const std::string& file);
[[nodiscard]] int save_recent(const RecentList& list);

// Adds an entry at the end, or over the 20th when the list is full; the
// display name is `name` with its last three characters cut. Returns the
// index, or -1 when the path does not fit its field. Not saved.
[[nodiscard]] int add_recent(RecentList& list, const char* path, const char* name);

// Index of the entry whose path equals `path` byte for byte, or -1.
int find_recent(const RecentList& list, const char* path);

// Moves an entry to index 0, the others following in order; saves.
// Returns 0, -1 for a bad index, -2 when the save failed.
[[nodiscard]] int move_recent_to_top(RecentList& list, int index);

// Removes entries whose ".wk" file no longer exists, keeping the order, and
// saves when any went. Returns the number removed.
int drop_missing_recent(RecentList& list);

// Refreshes each entry's locked and in-use bytes from its ".wk" file.
void refresh_recent_flags(RecentList& list);

// ---- the .wk record ----

struct WorkspaceSettings {
    WorkspaceRecord record;
    std::string path;  // the ".wk" file
    int file = -1;     // kept open and locked while the workspace is open
    // Where the last load kept a damaged record before it wrote the
    // defaults ("<path>.bad", "<path>.bad1" ...); empty when it did not.
    std::string kept_aside;
};

void default_workspace_settings(WorkspaceRecord& rec);

// Status codes of load_workspace_settings.
inline constexpr int kWkLoaded = 0;
inline constexpr int kWkCreated = 1;  // the file was missing and is now made
inline constexpr int kWkInUse = -1;   // another program holds the workspace
inline constexpr int kWkFailed = -2;  // the file could not be read or written
inline constexpr int kWkDamaged = -3; // inspect_workspace_settings: the record is damaged

// Opens a workspace's ".wk" file, takes its in-use lock and reads the record
// with the load-time corrections applied. A damaged record is kept aside as
// "<name>.bad" (the first free such name, told in `ws.kept_aside`) and
// replaced by the defaults (status kWkCreated). `reason` gets a UTF-8
// explanation on failure.
[[nodiscard]] int load_workspace_settings(WorkspaceSettings& ws, const std::string& path,
                                          std::string* reason);

// The same for readers that must not change anything (nodrel-tool's check
// and restore): the lock is taken and the record read, but nothing is made
// or moved. kWkLoaded; kWkDamaged with the lock held and the defaults in
// `ws.record`; kWkInUse; kWkFailed (a missing file included).
[[nodiscard]] int inspect_workspace_settings(WorkspaceSettings& ws, const std::string& path,
                                             std::string* reason);

// Seals and writes the record; the lock stays held throughout (the new file
// is locked before it replaces the old one). Returns 0, or -1 when the write
// failed or the settings do not hold the workspace's lock.
[[nodiscard]] int save_workspace_settings(WorkspaceSettings& ws);

// Releases the lock and closes the file.
void close_workspace_settings(WorkspaceSettings& ws);

// Stores the lock password (GBK, at most 31 bytes kept) and saves.
[[nodiscard]] int set_workspace_password(WorkspaceSettings& ws, const char* text);

// 1 when another open file description holds the lock of `path`, else 0.
int workspace_in_use(const std::string& path);

}  // namespace nd
