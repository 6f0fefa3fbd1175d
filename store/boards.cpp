#include "store/boards.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "base/file_io.h"
#include "base/gbk.h"
#include "store/keys.h"
#include "store/paths.h"
#include "store/tables.h"
#include "store/texts.h"

namespace nd {

namespace {

std::string root_frame_path() {
    return Tables.root + "0/frame/root.frame";
}

// Files kept open are reopened after every replace, so the handle always
// names the file now on disk.
void reopen(int& fd, const std::string& path) {
    if (fd >= 0) ::close(fd);
    fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
}

bool group_ok(int group) {
    return group >= 0 && group < kGroupSlots && Tables.group_boards[group] != nullptr;
}

}  // namespace

int write_group_table() {
    std::string path = root_frame_path();
    if (store_write(path, &Tables.groups, sizeof Tables.groups) != kIoOk)
        return kGroupFileUnwritten;
    reopen(Tables.root_file, path);
    return 0;
}

int write_group_file(int group) {
    GroupBoards& gb = *Tables.group_boards[group];
    std::string path = make_path(Tables.root, kTypeGroup, Tables.groups.keys[group], 0);
    if (store_write(path, &gb.image, sizeof gb.image) != kIoOk) return kGroupFileUnwritten;
    reopen(gb.file, path);
    return 0;
}

int live_board_count(int group) {
    if (!group_ok(group)) return 0;
    const GroupFile& img = Tables.group_boards[group]->image;
    int n = 0;
    for (uint32_t i = 0; i < img.count && i < kBoardSlots; ++i)
        if (img.keys[i].type != kTypeDeleted) ++n;
    return n;
}

int add_group(const char* name) {
    if (Tables.groups.count >= static_cast<uint32_t>(kMaxGroups)) return kGroupsFull;
    if (!name || !name[0] || std::strlen(name) > static_cast<size_t>(kMaxGroupName))
        return kGroupBadName;
    for (uint32_t i = 0; i < Tables.groups.count && i < kGroupSlots; ++i)
        if (std::strncmp(Tables.groups.names[i], name, 32) == 0) return kGroupNameTaken;

    int index = static_cast<int>(Tables.groups.count);
    RecordKey key = make_key(kTypeGroup);
    draw_fresh_serial(key);

    // The group file is made before root.frame names it, so a crash between
    // the two never leaves a group without its file.
    auto gb = std::make_unique<GroupBoards>();
    std::memset(&gb->image, 0, sizeof gb->image);
    std::string path = make_path(Tables.root, kTypeGroup, key, 0);
    if (store_write(path, &gb->image, sizeof gb->image) != kIoOk) return kGroupUnwritten;
    reopen(gb->file, path);

    GroupTable before = Tables.groups;
    Tables.groups.count = static_cast<uint32_t>(index + 1);
    gbk_copy_field(Tables.groups.names[index], 32, name);
    Tables.groups.keys[index] = key;
    if (write_group_table() != 0) {
        Tables.groups = before;
        if (gb->file >= 0) ::close(gb->file);
        return kGroupUnwritten;
    }
    if (Tables.group_boards[index] && Tables.group_boards[index]->file >= 0)
        ::close(Tables.group_boards[index]->file);
    Tables.group_boards[index] = std::move(gb);
    return index;
}

LocationRef add_board(const char* name, const RecordKey* key, int group, int slot) {
    if (!group_ok(group) || slot < -1 || slot >= kBoardSlots) return {kBoardBadCall, group, 0, 0};
    GroupBoards& gb = *Tables.group_boards[group];
    uint32_t count = gb.image.count > kBoardSlots ? kBoardSlots : gb.image.count;
    if (slot == -1) {
        if (live_board_count(group) >= kMaxBoards) return {kBoardsFull, group, 0, 0};
        slot = static_cast<int>(count);
        for (uint32_t i = 0; i < count; ++i)
            if (gb.image.keys[i].type == kTypeDeleted) {
                slot = static_cast<int>(i);
                break;
            }
        if (slot >= kBoardSlots) return {kBoardsFull, group, 0, 0};
    } else if (static_cast<uint32_t>(slot) < count && gb.image.keys[slot].type != kTypeDeleted &&
               gb.image.keys[slot].type != 0) {
        // A given slot must be free: a live board there would lose its entry.
        return {kBoardBadCall, group, 0, 0};
    }

    RecordKey k = key ? *key : make_key(kTypeBoard);
    k.ordinal = 0;
    draw_fresh_serial(k);

    auto board = std::make_unique<Board>();
    init_board_record(*board, name, k);

    if (!Tables.read_only) make_dirs(Tables.root, k);
    if (store_write(make_path(Tables.root, k.type, k, 0), board.get(), sizeof(Board)) != kIoOk)
        return {kBoardUnwritten, group, 0, 0};

    GroupFile before = gb.image;
    // Slots skipped by a board placed past the end are marked deleted: the
    // loader takes every slot below the count as a board or a deleted slot.
    size_t first = static_cast<size_t>(slot);
    if (static_cast<uint32_t>(slot) >= count) {
        for (uint32_t i = count; i < static_cast<uint32_t>(slot); ++i) {
            std::memset(&gb.image.keys[i], 0, sizeof(RecordKey));
            gb.image.keys[i].type = kTypeDeleted;
        }
        first = count;
        gb.image.count = static_cast<uint32_t>(slot + 1);
    }
    gb.image.keys[slot] = k;
    std::string gpath = make_path(Tables.root, kTypeGroup, Tables.groups.keys[group], 0);
    FilePatch patches[] = {
        {0, &gb.image.count, 4},
        {4 + 16 * first, &gb.image.keys[first], 16 * (static_cast<size_t>(slot) + 1 - first)}};
    if (store_patch(gpath, patches, 2) != kIoOk) {
        gb.image = before;
        return {kBoardUnwritten, group, 0, 0};
    }
    if (!Tables.read_only) {
        if (gb.file >= 0) ::close(gb.file);
        gb.file = ::open(gpath.c_str(), O_RDWR | O_CLOEXEC);
    }
    gb.boards[slot] = std::move(board);
    Tables.case_rows[group][slot].reset();
    return {0, group, slot, 0};
}

void init_board_record(Board& board, const char* name, const RecordKey& key) {
    std::memset(&board, 0, sizeof board);
    board.size = sizeof(Board);
    board.key = key;
    board.saved = key;
    board.value280 = -1;
    board.value284 = -1;
    gbk_copy_field(board.name, sizeof board.name, name ? name : "");
}

bool mend_board_key(Board& board, const RecordKey& listing) {
    if ((board.key.type & 0x7FFF) == kTypeBoard && same_item(board.key, listing)) return false;
    board.key = listing;
    board.key.ordinal = 0;
    board.saved.type = listing.type;
    board.saved.serial = listing.serial;
    return true;
}

bool mend_short_board(Board& board, size_t held, const RecordKey& listing) {
    if (held >= sizeof(Board)) return false;
    board.size = sizeof(Board);
    if (held < offsetof(Board, value280) + 4) board.value280 = -1;
    if (held < offsetof(Board, value284) + 4) board.value284 = -1;
    if (held < offsetof(Board, saved) + sizeof(RecordKey)) board.saved = listing;
    mend_board_key(board, listing);
    // A name cut inside a character loses the half it has; a name cut away
    // whole gets a plain one, so the category still shows in the list.
    if (held < offsetof(Board, content)) {
        std::string name = field_text(board.name, sizeof board.name);
        size_t keep = 0;
        for (size_t len; keep < name.size() && (len = gbk_char_length(name, keep)) != 0;) {
            if (len == 1 && gbk_lead_byte(static_cast<unsigned char>(name[keep]))) break;
            keep += len;
        }
        name.resize(keep);
        gbk_copy_field(board.name, sizeof board.name,
                       name.empty() ? std::string_view(store_text::kRecoveredBoardName) : name);
    }
    // The list keeps the entries the file held whole; with the count itself
    // gone, none.
    uint32_t count = 0;
    if (held >= offsetof(Board, cases)) {
        uint32_t whole = static_cast<uint32_t>((held - offsetof(Board, cases)) / sizeof(RecordKey));
        count =
            board.case_count > static_cast<uint32_t>(kCaseSlots) ? kCaseSlots : board.case_count;
        if (whole < count) count = whole;
    }
    bool cut = held < offsetof(Board, cases) || count < board.case_count;
    board.case_count = count;
    std::memset(&board.cases[count], 0, sizeof(RecordKey) * (kCaseSlots - count));
    return cut;
}

int rename_board(const char* name, int group, int slot) {
    Board* b = find_board(group, slot);
    if (!b || !name) return kBoardBadCall;
    // A rename owns only the first 32 bytes of the name field.
    gbk_copy_field(b->name, 32, name);
    return save_board(group, slot) == 0 ? 0 : kRenameUnwritten;
}

int delete_board(int group, int slot) {
    if (!group_ok(group) || live_board_count(group) == 0) return kDeleteNoBoards;
    GroupBoards& gb = *Tables.group_boards[group];
    if (slot < 0 || static_cast<uint32_t>(slot) >= gb.image.count || slot >= kBoardSlots ||
        gb.image.keys[slot].type == kTypeDeleted)
        return kDeleteNoBoard;
    if (group == 0 && live_board_count(group) == 1) return kDeleteOnlyBoard;
    uint16_t old_type = gb.image.keys[slot].type;
    gb.image.keys[slot].type = kTypeDeleted;
    if (write_group_file(group) != 0) {
        gb.image.keys[slot].type = old_type;
        return kDeleteUnwritten;
    }
    gb.boards[slot].reset();
    Tables.case_rows[group][slot].reset();
    return 0;
}

int save_board(int group, int slot) {
    if (!group_ok(group)) return kBoardBadCall;
    if (Tables.group_boards[group]->image.count == 0) return kSaveNoBoards;
    Board* b = find_board(group, slot);
    if (!b) return kBoardBadCall;
    stamp_key_time(b->saved);
    if (!Tables.read_only) make_dirs(Tables.root, b->key);
    if (store_write(make_path(Tables.root, b->key.type, b->key, 0), b, sizeof(Board)) != kIoOk)
        return kSaveUnwritten;
    return 0;
}

}  // namespace nd
