// Groups and boards: the group table "root.frame", the group files and the
// ".frame" board files. Writers that can race with the autosave thread hold
// StorageLock around these calls; none of them takes it itself.
#pragma once

#include "store/records.h"

namespace nd {

// Status codes of this file, as the Parts number them. A function's comment
// says which of them it returns.
inline constexpr int kBoardBadCall = -1;  // a group or slot that is no such thing
// add_group
inline constexpr int kGroupsFull = -1;      // 20 groups exist
inline constexpr int kGroupBadName = -2;    // missing or longer than 20 bytes
inline constexpr int kGroupNameTaken = -3;  // a group of that name exists
inline constexpr int kGroupUnwritten = -4;  // a file could not be written
// add_board (the flag of its LocationRef)
inline constexpr int kBoardsFull = -3;      // the group holds 80 boards
inline constexpr int kBoardUnwritten = -4;  // a file could not be written
// rename_board
inline constexpr int kRenameUnwritten = -2;
// delete_board
inline constexpr int kDeleteNoBoards = -1;   // the group has no boards
inline constexpr int kDeleteOnlyBoard = -2;  // the only board of the first group
inline constexpr int kDeleteNoBoard = -3;    // the slot holds no board
inline constexpr int kDeleteUnwritten = -4;  // the group file could not be written
// save_board
inline constexpr int kSaveNoBoards = -2;   // the group holds no boards
inline constexpr int kSaveUnwritten = -3;  // the write failed
// write_group_table, write_group_file
inline constexpr int kGroupFileUnwritten = -1;

// Adds a group named `name` (GBK) with an empty group file. Returns its
// index, kGroupsFull, kGroupBadName, kGroupNameTaken, or kGroupUnwritten
// (nothing changes in memory then).
[[nodiscard]] int add_group(const char* name);

// Adds a board to `group` at `slot` (-1: the first deleted slot, else the
// end). With `key` given, its type and clock are used with a fresh serial.
// Returns {0, group, slot, 0}; {kBoardsFull, group, 0, 0};
// {kBoardBadCall, ...}, for example for a given slot that holds a board;
// {kBoardUnwritten, ...}.
[[nodiscard]] LocationRef add_board(const char* name, const RecordKey* key, int group, int slot);

// Renames a loaded board (the first 32 bytes of its name field) and saves it.
// Returns 0, kBoardBadCall or kRenameUnwritten.
[[nodiscard]] int rename_board(const char* name, int group, int slot);

// Marks a board slot deleted; the board and Case files stay on disk.
// Returns 0, kDeleteNoBoards, kDeleteOnlyBoard, kDeleteNoBoard or
// kDeleteUnwritten.
[[nodiscard]] int delete_board(int group, int slot);

// Stamps the last-save key and writes the whole board record. Returns 0,
// kBoardBadCall, kSaveNoBoards or kSaveUnwritten.
[[nodiscard]] int save_board(int group, int slot);

// Writes the group table and a group file from memory, keeping their files
// open afterwards. Return 0 or kGroupFileUnwritten.
[[nodiscard]] int write_group_table();
[[nodiscard]] int write_group_file(int group);

// Number of live (not deleted) boards of a group.
int live_board_count(int group);

// A new board record: all zero, its size, `key` as its creation and
// last-save key, -1 at 280 and 284, and the name (GBK).
void init_board_record(Board& board, const char* name, const RecordKey& key);

// Gives a board record the key its group file names it by (`listing`) when
// its own key would name another file; the last-save key follows in type
// and serial. True when anything changed.
bool mend_board_key(Board& board, const RecordKey& listing);

// Mends a board whose file held only its first `held` bytes, the rest read
// as zero: the size, the fields made -1 and the keys it lost are put back
// (the keys from `listing`), a lost name becomes "找回的白板", and the Case
// list keeps the entries that are whole. True when entries of the list may
// have been cut off.
bool mend_short_board(Board& board, size_t held, const RecordKey& listing);

}  // namespace nd
