// Groups and boards: the group table "root.frame", the group files and the
// ".frame" board files. Writers that can race with the autosave thread hold
// StorageLock around these calls; none of them takes it itself.
#pragma once

#include "store/records.h"

namespace nd {

// Adds a group named `name` (GBK) with an empty group file. Returns its
// index, -1 when 20 groups exist, -2 when the name is missing or longer than
// 20 bytes, -3 when a group of that name exists, -4 when a file could not be
// written (nothing changes in memory then).
int add_group(const char* name);

// Adds a board to `group` at `slot` (-1: the first deleted slot, else the
// end). With `key` given, its type and clock are used with a fresh serial.
// Returns {0, group, slot, 0}; {-3, group, 0, 0} when the group holds 80
// boards; {-1, ...} on a bad call, such as a given slot that holds a board;
// {-4, ...} when a file could not be written.
LocationRef add_board(const char* name, const RecordKey* key, int group, int slot);

// Renames a loaded board (the first 32 bytes of its name field) and saves it.
// Returns 0, -1 on a bad call, or -2 when the file could not be written.
int rename_board(const char* name, int group, int slot);

// Marks a board slot deleted; the board and Case files stay on disk.
// Returns 0, -1 when the group has no boards, -2 for the only board of the
// first group, -3 when the slot holds no board, -4 when the group file could
// not be written.
int delete_board(int group, int slot);

// Stamps the last-save key and writes the whole board record. Returns 0, -1
// on a bad call, -2 when the group holds no boards, -3 when the write failed.
int save_board(int group, int slot);

// Writes the group table and a group file from memory, keeping their files
// open afterwards. Return 0 or -1.
int write_group_table();
int write_group_file(int group);

// Number of live (not deleted) boards of a group.
int live_board_count(int group);

}  // namespace nd
