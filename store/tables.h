// The global tables of the open workspace. The frame loop and the panels
// read them without locks; writers follow the rules in locks.h.
//
// Tables are sized for the limits of the data model but records are
// allocated one by one as items are loaded or made, so an empty workspace
// costs a few hundred kilobytes.
#pragma once

#include <memory>
#include <string>

#include "store/record_pool.h"
#include "store/records.h"

namespace nd {

// One Case in the CaseTable: its record, and beside it the content the
// record owns (the stored record's pointer slot is never used for it).
static_assert(sizeof(CaseRecord) == kPoolBlock && sizeof(CaseBody) == kPoolBlock);
using CaseRecordPtr = std::unique_ptr<CaseRecord, PoolDelete>;
using CaseBodyPtr = std::unique_ptr<CaseBody, PoolDelete>;

// A record or content from the pool, not cleared.
inline CaseRecordPtr new_case_record() {
    return CaseRecordPtr(static_cast<CaseRecord*>(pool_alloc()));
}
inline CaseBodyPtr new_case_body() {
    return CaseBodyPtr(static_cast<CaseBody*>(pool_alloc()));
}

struct CaseSlot {
    CaseRecordPtr record;
    CaseBodyPtr body;
    int file = -1;  // open-file slot; Case files are closed between writes
};

struct CaseRow {
    CaseSlot slots[kCaseSlots];
};

// The boards of one group: the group file image and the loaded boards.
struct GroupBoards {
    GroupFile image;
    std::unique_ptr<Board> boards[kBoardSlots];  // null: deleted or not loaded
    int file = -1;                               // the group file, open while loaded
};

struct Workspace {
    std::string root;  // ends in "/"
    GroupTable groups;
    int root_file = -1;  // "root.frame", open while loaded
    std::unique_ptr<GroupBoards> group_boards[kGroupSlots];
    std::unique_ptr<CaseRow> case_rows[kGroupSlots][kBoardSlots];
    // Set by readers that must not change anything on disk (nodrel-tool
    // dump/export): every write is skipped and reported as done.
    bool read_only = false;
};

extern Workspace Tables;

// Closes the open files and frees every record; `root` is kept.
void clear_tables();

// Sets the root the tables belong to (ends in "/").
void set_workspace_root(const std::string& root);

// The CaseRecord at (group, board, slot), or null.
CaseRecord* find_case(int group, int board, int slot);
CaseBody* find_case_body(int group, int board, int slot);
CaseSlot* find_case_slot(int group, int board, int slot);

// The loaded board at (group, slot), or null.
Board* find_board(int group, int slot);

// Index 0-99 of the first free attachment slot, or -1 when all are used.
int first_free_attachment(const CaseRecord& record);

// The Case row of a board, made on first use.
CaseRow& case_row(int group, int board);

}  // namespace nd

namespace nd {

// Writes of the store go through these two, which honour Tables.read_only.
[[nodiscard]] int store_write(const std::string& path, const void* data, size_t size);
[[nodiscard]] int store_patch(const std::string& path, const struct FilePatch* patches,
                              size_t count);

// A fresh serial for `key`: drawn from the program's generator until no file
// of the resulting name exists (bounded), so items made in the same second
// never share a file.
void draw_fresh_serial(RecordKey& key);

}  // namespace nd
