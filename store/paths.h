// Names of the files of a workspace, made from record keys.
//
// On disk the tree uses "/". Paths stored inside records (an image
// attachment's "1\img\..." path) keep their backslash form and are turned
// into disk paths by stored_to_disk where they meet the file system.
#pragma once

#include <cstdint>
#include <string>

#include "store/records.h"

namespace nd {

// The workspace root for a ".wk" path: everything from the last "." of the
// file name removed, plus "/". Returns false when the name has no "." or the
// root would exceed 259 characters.
bool workspace_root(const std::string& wk_path, std::string& root);

// The file of an item under `root` (which ends in "/"). `part` 1 asks for
// the "_BODY" content file of a Case. A type that has no file gives "".
std::string make_path(const std::string& root, uint16_t type, const RecordKey& key, int part);

// The ".pos" point file of a Case.
std::string make_points_path(const std::string& root, const RecordKey& key);

// Status codes of make_path_for_read.
inline constexpr int kPathNoKey = -2;    // no key was given
inline constexpr int kPathNoFiles = -3;  // items of this type have no files

// make_path for reading: for a Case whose ".pass" file exists and whose
// ".case" file does not, the ".pass" file is first renamed to the ".case"
// name and `renamed` is set to 1. With `allow_rename` false the rename is
// skipped and the ".pass" name is given instead (read-only readers).
// Returns 0, kPathNoKey or kPathNoFiles.
[[nodiscard]] int make_path_for_read(const std::string& root, uint16_t type, const RecordKey* key,
                                     int part, std::string& path, int& renamed,
                                     bool allow_rename = true);

// Creates the dated directories an item's file needs, one level at a time.
void make_dirs(const std::string& root, const RecordKey& key);

// The stored form of an image's path, "1\img\YYYY\MM\DD\hh_mm_ss_%08X.jpg",
// and its short name "%08X.jpg".
std::string stored_image_path(const RecordKey& key);
std::string image_short_name(const RecordKey& key);

// A path stored in a record, relative to the root with "\" separators,
// as a disk path under `root`; "" when it would leave the root.
std::string stored_to_disk(const std::string& root, const std::string& stored);

}  // namespace nd
