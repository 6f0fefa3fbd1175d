#include "store/gather.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/file_io.h"
#include "base/file_tree.h"
#include "base/gbk.h"
#include "store/boards.h"
#include "store/keys.h"
#include "store/paths.h"
#include "store/tables.h"
#include "store/texts.h"

namespace nd {

namespace {

// The key a Case record file's path is made from, or false for a file that
// is no Case record ("_BODY", ".pos", ".bad", a temporary file).
bool key_of_record_path(const std::string& path, RecordKey& key) {
    const std::string base = Tables.root + "1/case/";
    if (path.compare(0, base.size(), base) != 0) return false;
    unsigned y, mo, d, h, mi, s, serial;
    char tail[8] = {};
    if (std::sscanf(path.c_str() + base.size(), "%4u/%2u/%2u/%2u_%2u_%2u_%8X%7s", &y, &mo, &d, &h,
                    &mi, &s, &serial, tail) != 8 ||
        std::strcmp(tail, ".case") != 0)
        return false;
    std::memset(&key, 0, sizeof key);
    key.type = kAttrFragment;
    key.year = static_cast<uint16_t>(y);
    key.month = static_cast<uint8_t>(mo);
    key.day = static_cast<uint8_t>(d);
    key.hour = static_cast<uint8_t>(h);
    key.minute = static_cast<uint8_t>(mi);
    key.second = static_cast<uint8_t>(s);
    key.serial = static_cast<uint16_t>(serial);
    // Only a name the store itself would make counts.
    return make_path(Tables.root, key.type, key, 0) == path;
}

// The type the record itself holds when its key is the one of its name; a
// record too damaged to say is filed as a plain note.
void take_stored_type(const std::string& path, RecordKey& key) {
    char head[offsetof(CaseRecord, saved)];
    size_t held = 0;
    if (read_file_prefix(path, head, sizeof head, &held) != kIoOk) return;
    RecordKey stored;
    std::memcpy(&stored, head + offsetof(CaseRecord, key), sizeof stored);
    if (is_case_type(stored.type) && same_item(stored, key)) key.type = stored.type;
}

// Appends Cases to a board record from `next` on, up to a full board.
void append_cases(Board& board, const std::vector<RecordKey>& cases, size_t& next) {
    while (next < cases.size() && board.case_count < static_cast<uint32_t>(kMaxCases)) {
        RecordKey entry = cases[next++];
        entry.ordinal = static_cast<uint16_t>(board.case_count + 1);
        board.cases[board.case_count++] = entry;
    }
}

// Puts the Cases on the group's recovery categories: first those with room,
// then new ones. False when a write failed or the group has no room left.
bool place_in_recovery(const std::string& gp, const std::vector<RecordKey>& cases) {
    const std::string& root = Tables.root;
    GroupFile gf;
    if (read_file_exact(gp, &gf, sizeof gf) != kIoOk) return false;
    if (gf.count > static_cast<uint32_t>(kBoardSlots)) gf.count = kBoardSlots;
    size_t next = 0;
    auto board = std::make_unique<Board>();
    int live = 0;
    for (uint32_t b = 0; b < gf.count && next < cases.size(); ++b) {
        const RecordKey& bk = gf.keys[b];
        if (bk.type == kTypeDeleted) continue;
        ++live;
        std::string bp = make_path(root, bk.type, bk, 0);
        if (read_file_exact(bp, board.get(), sizeof(Board)) != kIoOk ||
            field_text(board->name, sizeof board->name) != store_text::kRecoveryBoard ||
            board->case_count >= static_cast<uint32_t>(kMaxCases))
            continue;
        append_cases(*board, cases, next);
        if (store_write(bp, board.get(), sizeof(Board)) != kIoOk) return false;
    }
    while (next < cases.size()) {
        uint32_t slot = gf.count;
        for (uint32_t b = 0; b < gf.count; ++b)
            if (gf.keys[b].type == kTypeDeleted) {
                slot = b;
                break;
            }
        if (live >= kMaxBoards || slot >= static_cast<uint32_t>(kBoardSlots)) return false;
        RecordKey key = make_key(kTypeBoard);
        draw_fresh_serial(key);
        init_board_record(*board, store_text::kRecoveryBoard, key);
        append_cases(*board, cases, next);
        make_dirs(root, key);
        // The board file first, then the group file that names it.
        if (store_write(make_path(root, key.type, key, 0), board.get(), sizeof(Board)) != kIoOk)
            return false;
        gf.keys[slot] = key;
        if (slot == gf.count) ++gf.count;
        if (store_write(gp, &gf, sizeof gf) != kIoOk) return false;
        ++live;
    }
    return true;
}

}  // namespace

void Gathering::list_cut(int group, const std::string& group_file) {
    if (cut_group_ >= 0) return;
    cut_group_ = group;
    cut_group_file_ = group_file;
}

uint64_t Gathering::identity(const RecordKey& key) {
    return static_cast<uint64_t>(key_time_value(key)) << 16 | key.serial;
}

void gather_unlisted_cases(NoteLog& log, Gathering& g) {
    if (g.cut_group_ < 0) return;
    const std::string& root = Tables.root;
    auto board = std::make_unique<Board>();
    for (const std::string& bp : g.deleted_boards_) {
        size_t held = 0;
        std::memset(board.get(), 0, sizeof(Board));
        int io = read_file_prefix(bp, board.get(), sizeof(Board), &held);
        if (io != kIoOk && io != kIoShort) continue;
        mend_short_board(*board, held, board->key);
        uint32_t n = std::min(board->case_count, static_cast<uint32_t>(kCaseSlots));
        for (uint32_t i = 0; i < n; ++i) g.listed(board->cases[i]);
    }
    std::vector<RecordKey> unlisted;
    walk_files(root + "1/case", [&](const std::string& path) {
        RecordKey key;
        if (!key_of_record_path(path, key) || g.listed_.count(Gathering::identity(key))) return;
        take_stored_type(path, key);
        unlisted.push_back(key);
    });
    if (unlisted.empty()) return;
    std::sort(unlisted.begin(), unlisted.end(), [](const RecordKey& a, const RecordKey& b) {
        return Gathering::identity(a) < Gathering::identity(b);
    });
    const std::string where = "group " + std::to_string(g.cut_group_);
    Finding f{where + ": " + std::to_string(unlisted.size()) + " Case file(s) no board lists",
              "gathered into the category " + gbk_to_utf8(store_text::kRecoveryBoard),
              std::to_string(unlisted.size()), store_text::kUnlistedCases, store_text::kGathered};
    if (log.dry_run()) {
        log.record(f, true);
        return;
    }
    for (const RecordKey& key : unlisted) {
        std::string body = make_path(root, key.type, key, 1);
        if (!file_exists(body)) {
            write_empty_body(log, body, where,
                             subject_gbk(store_text::kBoardWord, store_text::kRecoveryBoard,
                                         sizeof store_text::kRecoveryBoard) +
                                 store_text::kOneCaseIn);
        }
    }
    log.record(f, place_in_recovery(g.cut_group_file_, unlisted));
}

}  // namespace nd
