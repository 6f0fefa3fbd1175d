#include "store/tables.h"

#include <unistd.h>

#include <cstring>

namespace nd {

Workspace Tables;

namespace {
bool in_range(int group, int board) {
    return group >= 0 && group < kGroupSlots && board >= 0 && board < kBoardSlots;
}
}  // namespace

void clear_tables() {
    if (Tables.root_file >= 0) ::close(Tables.root_file);
    Tables.root_file = -1;
    std::memset(&Tables.groups, 0, sizeof Tables.groups);
    for (auto& g : Tables.group_boards) {
        if (g && g->file >= 0) ::close(g->file);
        g.reset();
    }
    for (auto& row : Tables.case_rows)
        for (auto& r : row) r.reset();
}

void set_workspace_root(const std::string& root) {
    Tables.root = root;
}

CaseSlot* find_case_slot(int group, int board, int slot) {
    if (!in_range(group, board) || slot < 0 || slot >= kCaseSlots) return nullptr;
    CaseRow* row = Tables.case_rows[group][board].get();
    return row ? &row->slots[slot] : nullptr;
}

CaseRecord* find_case(int group, int board, int slot) {
    CaseSlot* s = find_case_slot(group, board, slot);
    return s ? s->record.get() : nullptr;
}

CaseBody* find_case_body(int group, int board, int slot) {
    CaseSlot* s = find_case_slot(group, board, slot);
    return s ? s->body.get() : nullptr;
}

Board* find_board(int group, int slot) {
    if (!in_range(group, slot) || !Tables.group_boards[group]) return nullptr;
    return Tables.group_boards[group]->boards[slot].get();
}

int first_free_attachment(const CaseRecord& record) {
    for (int i = 0; i < kAttachmentSlots; ++i)
        if (record.attachments[i].kind == kAttachFree) return i;
    return -1;
}

CaseRow& case_row(int group, int board) {
    auto& row = Tables.case_rows[group][board];
    if (!row) row = std::make_unique<CaseRow>();
    return *row;
}

}  // namespace nd

#include "base/file_io.h"
#include "base/park_miller.h"
#include "store/paths.h"

namespace nd {

int store_write(const std::string& path, const void* data, size_t size) {
    if (Tables.read_only) return kIoOk;
    return write_file_atomic(path, data, size);
}

int store_patch(const std::string& path, const FilePatch* patches, size_t count) {
    if (Tables.read_only) return kIoOk;
    return patch_file_atomic(path, patches, count);
}

void draw_fresh_serial(RecordKey& key) {
    for (int attempt = 0; attempt < 64; ++attempt) {
        key.serial = static_cast<uint16_t>(next_random() & 0xFFFF);
        std::string path = make_path(Tables.root, key.type, key, 0);
        if (path.empty() || !file_exists(path)) return;
    }
}

}  // namespace nd
