#include "store/load.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <mutex>

#include "base/file_io.h"
#include "base/gbk.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/locks.h"
#include "store/note_log.h"
#include "store/paths.h"
#include "store/tables.h"
#include "store/texts.h"

namespace nd {

namespace {

// Program strings, GBK.
const char kRootName[] = "root";
const char kFirstBoard[] = "\xb7\xd6\xc0\xe0\x31";                              // 分类1
const char kTaskGroup[] = "\xc8\xce\xce\xf1";                                   // 任务
const char kTaskBoard[] = "\xce\xd2\xb5\xc4\xc8\xce\xce\xf1";                   // 我的任务
const char kCheckGroup[] = "\xbc\xec\xb2\xe9\xb1\xed";                          // 检查表
const char kCheckBoard[] = "\xce\xd2\xb5\xc4\xbc\xec\xb2\xe9\xb1\xed";          // 我的检查表
const char kCannotOpen[] = "\xce\xde\xb7\xa8\xb4\xf2\xbf\xaa";                  // 无法打开
const char kFileEnd[] = "\xce\xc4\xbc\xfe\xa1\xa3";                             // 文件。
const char kDamagedEnd[] = "\xce\xc4\xbc\xfe\xd2\xd1\xcb\xf0\xbb\xb5\xa1\xa3";  // 文件已损坏。

// What each failing file is called in the message, GBK.
const char* file_word(int code) {
    switch (code) {
        case kLoadNoRoot:
            return "\xb7\xd6\xd7\xe9\xb1\xed";  // 分组表
        case kLoadNoGroup:
            return "\xb7\xd6\xd7\xe9";  // 分组
        case kLoadNoBoard:
            return "\xb0\xd7\xb0\xe5";  // 白板
        case kLoadNoCase:
            return "Case \xbc\xc7\xc2\xbc";  // Case 记录
        default:
            return "Case \xc4\xda\xc8\xdd";  // Case 内容
    }
}

int fail(int code, const std::string& path, int io_status, const char* what) {
    LoadFailure f;
    f.code = code;
    bool damaged = io_status == kIoShort || io_status == kIoOk;
    f.message_gbk = damaged ? std::string(file_word(code)) + kDamagedEnd
                            : std::string(kCannotOpen) + (file_word(code)[0] == 'C' ? " " : "") +
                                  file_word(code) + kFileEnd;
    f.detail = path + ": " + (what ? what : last_io_error().c_str());
    set_load_failure(f);
    return code;
}

int open_rw(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_CLOEXEC);
}

// A new workspace: the group "root" with the board "分类1". The board file
// and the group file are written before "root.frame", which names them, so a
// creation cut short (a full disk, a kill) leaves no group table, or one
// without a group, and the next opening makes the workspace again.
int make_new_workspace() {
    const std::string& root = Tables.root;
    for (const std::string& dir : {root.substr(0, root.size() - 1), root + "0", root + "0/frame",
                                   root + "1", root + "1/case", root + "1/img"}) {
        if (!make_dir(dir)) return fail(kLoadNoRoot, dir, kIoFailed, nullptr);
    }
    RecordKey group_key = make_key(kTypeGroup);
    draw_fresh_serial(group_key);
    RecordKey board_key = make_key(kTypeBoard);
    draw_fresh_serial(board_key);

    auto board = std::make_unique<Board>();
    init_board_record(*board, kFirstBoard, board_key);
    make_dirs(root, board_key);
    std::string bp = make_path(root, board_key.type, board_key, 0);
    if (store_write(bp, board.get(), sizeof(Board)) != kIoOk)
        return fail(kLoadNoBoard, bp, kIoFailed, nullptr);

    auto group = std::make_unique<GroupBoards>();
    std::memset(&group->image, 0, sizeof group->image);
    group->image.count = 1;
    group->image.keys[0] = board_key;
    std::string gp = make_path(root, kTypeGroup, group_key, 0);
    if (store_write(gp, &group->image, sizeof group->image) != kIoOk)
        return fail(kLoadNoGroup, gp, kIoFailed, nullptr);

    GroupTable table;
    std::memset(&table, 0, sizeof table);
    table.count = 1;
    gbk_copy_field(table.names[0], sizeof table.names[0], kRootName);
    table.keys[0] = group_key;
    std::string rf = root + "0/frame/root.frame";
    if (store_write(rf, &table, sizeof table) != kIoOk)
        return fail(kLoadNoRoot, rf, kIoFailed, nullptr);

    Tables.groups = table;
    Tables.root_file = open_rw(rf);
    group->file = open_rw(gp);
    group->boards[0] = std::move(board);
    Tables.group_boards[0] = std::move(group);
    set_load_progress(100.0f);
    return kLoadNew;
}

bool names_a_group(const GroupTable& table) {
    for (const auto& name : table.names)
        if (name[0]) return true;
    return false;
}

// A board's ordinals must be 1..count, each once.
bool ordinals_ok(const Board& b, int n) {
    bool seen[kCaseSlots + 1] = {};
    for (int i = 0; i < n; ++i) {
        uint16_t o = b.cases[i].ordinal;
        if (o < 1 || o > n || seen[o]) return false;
        seen[o] = true;
    }
    return true;
}

// What the load found to correct, written only once everything was read.
// Per call, so loads on two threads never share it.
enum Fix : uint8_t {
    kFixOrdinals = 1,    // a board's ordinals were renumbered
    kFixKey = 2,         // the record's own key was mended to the listing key
    kFixRecordCut = 4,   // a short Case record, read for what it held
    kFixBodyCut = 8,     // a short content file, read for what it held
    kFixLinkCount = 16,  // a link count past the table was cut
    kFixRecolour = 32,   // the overdue rule changed the colour
};
struct Corrections {
    uint8_t board[kGroupSlots][kBoardSlots];
    uint8_t cases[kGroupSlots][kBoardSlots][kCaseSlots];
    // What the short Case files held, kept aside before they are made whole.
    struct Held {
        int group, board, slot;
        std::string record, body;
    };
    std::vector<Held> held;
};

std::string case_subject(const CaseRecord& rec) {
    return subject_gbk(store_text::kCaseWord, rec.title, sizeof rec.title);
}

std::string board_subject(const Board& b) {
    return subject_gbk(store_text::kBoardWord, b.name, sizeof b.name);
}

std::string utf8_name(const char* field, size_t width) {
    return gbk_to_utf8(field_text(field, width));
}

// Writes one board's corrections and says so.
void write_board_fixes(NoteLog& log, int g, int b, uint8_t fixes) {
    const Board& bd = *find_board(g, b);
    const std::string name = utf8_name(bd.name, sizeof bd.name);
    bool ok = save_board(g, b) == 0;
    if (fixes & kFixKey) {
        log.record({"board " + name + ": its own key names another file than " +
                        make_path(Tables.root, bd.key.type, bd.key, 0),
                    "key set to the one its group lists", board_subject(bd),
                    store_text::kKeyDiffers, store_text::kCorrected},
                   ok);
    }
    if (fixes & kFixOrdinals) {
        log.record({"board " + name + ": Case ordinals not 1..count", "renumbered",
                    board_subject(bd), store_text::kOrdinalsWrong, store_text::kRenumbered},
                   ok);
    }
}

// Writes one Case's corrections and says so: short files are kept aside
// first, then the record (and the content when it was short) are written.
void write_case_fixes(NoteLog& log, int g, int b, int s, uint8_t fixes,
                      const Corrections::Held* held) {
    CaseSlot& slot = *find_case_slot(g, b, s);
    const CaseRecord& rec = *slot.record;
    const std::string title = utf8_name(rec.title, sizeof rec.title);
    const std::string rp = make_path(Tables.root, rec.key.type, rec.key, 0);
    const std::string bp = make_path(Tables.root, rec.key.type, rec.key, 1);
    auto save_record = [&] { return save_case(0, g, b, s) == 0; };
    bool record_ok = true;
    if (fixes & kFixRecordCut) {
        record_ok =
            log.keep_and_write(rp, held->record, save_record,
                               {"Case " + title + ": record " + rp + " truncated (" +
                                    std::to_string(held->record.size()) + " of 65536 bytes)",
                                "made whole from what it held", case_subject(rec),
                                store_text::kFileTruncated, store_text::kRemadeKeptAs});
    } else if (fixes & (kFixKey | kFixLinkCount | kFixRecolour)) {
        record_ok = save_record();
    }
    if (fixes & kFixBodyCut) {
        log.keep_and_write(
            bp, held->body,
            [&] { return store_write(bp, slot.body.get(), sizeof(CaseBody)) == kIoOk; },
            {"Case " + title + ": content " + bp + " truncated (" +
                 std::to_string(held->body.size()) + " of 65536 bytes)",
             "reads as the text it holds", case_subject(rec), store_text::kBodyTruncated,
             store_text::kRemadeKeptAs});
    }
    if (fixes & kFixKey) {
        log.record({"Case " + title + ": its own key names another file than " + rp,
                    "key set to the one its board lists", case_subject(rec),
                    store_text::kKeyDiffers, store_text::kCorrected},
                   record_ok);
    }
    if (fixes & kFixLinkCount) {
        log.record({"Case " + title + ": link count past the table", "cut to 70", case_subject(rec),
                    store_text::kLinkCountPast, store_text::kCorrected},
                   record_ok);
    }
    if (fixes & kFixRecolour) {
        log.record(
            routine("Case " + title + ": overdue", "colour set to " + std::to_string(rec.colour)),
            record_ok);
    }
}

// Adds the two further groups of a workspace made by its first opening, each
// with its board. Either both come with their boards, or the group table is
// put back to its one group (in memory and on disk) and the next opening
// tries again: a group left without its board would stay so for good.
void add_default_groups(NoteLog& log) {
    Finding done =
        routine("the workspace has one group", "the groups " + gbk_to_utf8(kTaskGroup) + " and " +
                                                   gbk_to_utf8(kCheckGroup) + " added");
    if (log.dry_run()) {
        log.record(done, true);
        return;
    }
    const GroupTable before = Tables.groups;
    const char* const defaults[2][2] = {{kTaskGroup, kTaskBoard}, {kCheckGroup, kCheckBoard}};
    bool ok = true;
    for (const auto& d : defaults) {
        int g = add_group(d[0]);
        ok = g >= 0 && add_board(d[1], nullptr, g, -1).flag == 0;
        if (!ok) break;
    }
    if (ok) {
        log.record(done, true);
        return;
    }
    for (uint32_t g = before.count; g < static_cast<uint32_t>(kGroupSlots); ++g) {
        if (Tables.group_boards[g] && Tables.group_boards[g]->file >= 0)
            ::close(Tables.group_boards[g]->file);
        Tables.group_boards[g].reset();
        for (auto& row : Tables.case_rows[g]) row.reset();
    }
    Tables.groups = before;
    bool undone = write_group_table() == 0;
    done.action += undone ? " (undone: the next opening adds them)" : " (and could not be undone)";
    log.record(done, false);
}

}  // namespace

int load_workspace(RepairNotes* notes) {
    clear_tables();
    set_load_failure(LoadFailure{});
    set_load_progress(0.0f);
    NoteLog log(notes, Tables.read_only);
    const std::string& root = Tables.root;
    std::string rf = root + "0/frame/root.frame";
    if (!dir_exists(root + "0/frame") || !file_exists(rf)) {
        if (Tables.read_only) return fail(kLoadNoRoot, rf, kIoMissing, "no workspace here");
        return make_new_workspace();
    }

    int io = read_file_exact(rf, &Tables.groups, sizeof Tables.groups);
    if (io != kIoOk) return fail(kLoadNoRoot, rf, io, nullptr);
    if (!names_a_group(Tables.groups)) {
        if (Tables.read_only) return fail(kLoadNoRoot, rf, kIoOk, "the group table names no group");
        return make_new_workspace();
    }
    if (Tables.groups.count > static_cast<uint32_t>(kGroupSlots))
        return fail(kLoadNoRoot, rf, kIoOk, "group count past the table");
    Tables.root_file = open_rw(rf);

    // Everything is read first; corrections are written only once the whole
    // workspace has been read, so a failing load leaves the disk untouched.
    auto fixes = std::make_unique<Corrections>();
    std::memset(fixes->board, 0, sizeof fixes->board);
    std::memset(fixes->cases, 0, sizeof fixes->cases);

    uint32_t group_count = Tables.groups.count;
    for (uint32_t g = 0; g < group_count; ++g) {
        if (!Tables.groups.names[g][0]) continue;
        std::string gp = make_path(root, kTypeGroup, Tables.groups.keys[g], 0);
        auto gb = std::make_unique<GroupBoards>();
        io = gp.empty() ? kIoMissing : read_file_exact(gp, &gb->image, sizeof gb->image);
        if (io != kIoOk) return fail(kLoadNoGroup, gp, io, gp.empty() ? "bad group key" : nullptr);
        if (gb->image.count > static_cast<uint32_t>(kBoardSlots))
            return fail(kLoadNoGroup, gp, kIoOk, "board count past the table");
        gb->file = open_rw(gp);
        GroupBoards& group = *gb;
        Tables.group_boards[g] = std::move(gb);

        set_load_label(Tables.groups.names[g], 32);
        set_load_progress(0.0f);
        float share = group.image.count ? 100.0f / static_cast<float>(group.image.count) : 0.0f;

        for (uint32_t b = 0; b < group.image.count; ++b) {
            const RecordKey& bk = group.image.keys[b];
            if (bk.type == kTypeDeleted) {
                add_load_progress(share);
                continue;
            }
            std::string bp = make_path(root, bk.type, bk, 0);
            std::unique_ptr<Board> board(new Board);  // filled whole by the read or dropped
            io = bp.empty() || (bk.type & 0x7FFF) != kTypeBoard
                     ? kIoMissing
                     : read_file_exact(bp, board.get(), sizeof(Board));
            if (io != kIoOk)
                return fail(kLoadNoBoard, bp.empty() ? gp : bp, io,
                            bp.empty() ? "bad board key" : nullptr);
            if (board->case_count > static_cast<uint32_t>(kCaseSlots))
                return fail(kLoadNoBoard, bp, kIoOk, "Case count past the table");
            Board& bd = *board;
            group.boards[b] = std::move(board);
            if (mend_board_key(bd, bk)) fixes->board[g][b] |= kFixKey;
            set_load_label(bd.name, sizeof bd.name);
            int n = static_cast<int>(bd.case_count);
            if (n == 0) {
                add_load_progress(share);
                continue;
            }
            if (!ordinals_ok(bd, n)) {
                for (int i = 0; i < n; ++i) bd.cases[i].ordinal = static_cast<uint16_t>(i + 1);
                fixes->board[g][b] |= kFixOrdinals;
            }
            for (int i = 0; i < n; ++i) {
                CaseLoad found;
                int r = load_case(bd.cases[i], static_cast<int>(g), static_cast<int>(b), i, &found);
                if (r != 0) {
                    std::string cp =
                        make_path(root, bd.cases[i].type, bd.cases[i], r == kLoadNoCase ? 0 : 1);
                    int st = file_exists(cp) ? kIoFailed : kIoMissing;
                    if (cp.empty()) cp = bp;
                    return fail(r, cp, st, nullptr);
                }
                uint8_t& f = fixes->cases[g][b][i];
                f = static_cast<uint8_t>((found.key_mended ? kFixKey : 0) |
                                         (found.record_short ? kFixRecordCut : 0) |
                                         (found.body_short ? kFixBodyCut : 0) |
                                         (found.link_count_cut ? kFixLinkCount : 0) |
                                         (found.recoloured ? kFixRecolour : 0));
                if (found.record_short || found.body_short) {
                    fixes->held.push_back({static_cast<int>(g), static_cast<int>(b), i,
                                           std::move(found.record_held),
                                           std::move(found.body_held)});
                }
                const CaseRecord* rec = find_case(static_cast<int>(g), static_cast<int>(b), i);
                set_load_label(rec->title, sizeof rec->title);
                add_load_progress(share / static_cast<float>(n));
            }
        }
    }

    // The whole workspace is in memory: write the corrections. One that
    // cannot be written stays in memory and is found and made again by the
    // next load, so it does not fail this one.
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        size_t next_held = 0;
        for (uint32_t g = 0; g < group_count; ++g)
            for (int b = 0; b < kBoardSlots; ++b) {
                const int gi = static_cast<int>(g);
                if (fixes->board[g][b]) write_board_fixes(log, gi, b, fixes->board[g][b]);
                for (int s = 0; s < kCaseSlots; ++s) {
                    if (!fixes->cases[g][b][s]) continue;
                    const Corrections::Held* held = nullptr;
                    if (next_held < fixes->held.size() && fixes->held[next_held].group == gi &&
                        fixes->held[next_held].board == b && fixes->held[next_held].slot == s)
                        held = &fixes->held[next_held++];
                    write_case_fixes(log, gi, b, s, fixes->cases[g][b][s], held);
                }
            }
        CaseIndex index;
        index.build();
        for (int g = 0; g < kGroupSlots; ++g)
            for (int b = 0; b < kBoardSlots; ++b) {
                if (!Tables.case_rows[g][b]) continue;
                for (int s = 0; s < kCaseSlots; ++s) {
                    const CaseRecord* rec = find_case(g, b, s);
                    if (!rec) continue;
                    int changed = check_links(g, b, s, index);
                    if (!changed) continue;
                    log.record(
                        routine("Case " + utf8_name(rec->title, sizeof rec->title) + ": " +
                                    std::to_string(changed) + " link(s) to a Case moved or gone",
                                "pointed at where it is now, or removed"),
                        save_case(0, g, b, s) == 0);
                }
            }
    }

    // A workspace made by the first open gets its two further groups now.
    // They are a convenience: a workspace without them is whole, so a disk
    // that refuses them does not fail the load.
    if (group_count == 1) add_default_groups(log);
    set_load_progress(100.0f);
    return kLoadOk;
}

}  // namespace nd
