#include "store/load.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "base/file_io.h"
#include "base/gbk.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"

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

void publish_label(const char* field, size_t width) {
    set_load_label(field, width);
}

int open_rw(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_CLOEXEC);
}

int make_new_workspace() {
    const std::string& root = Tables.root;
    for (const std::string& dir : {root.substr(0, root.size() - 1), root + "0", root + "0/frame",
                                   root + "1", root + "1/case", root + "1/img"}) {
        if (!make_dir(dir)) return fail(kLoadNoRoot, dir, kIoFailed, nullptr);
    }
    std::string rf = root + "0/frame/root.frame";
    if (store_write(rf, &Tables.groups, sizeof Tables.groups) != kIoOk)
        return fail(kLoadNoRoot, rf, kIoFailed, nullptr);
    Tables.root_file = open_rw(rf);
    int g = add_group(kRootName);
    if (g < 0) return fail(kLoadNoGroup, root + "0/frame/", kIoFailed, nullptr);
    if (add_board(kFirstBoard, nullptr, g, -1).flag != 0)
        return fail(kLoadNoBoard, root + "0/frame/", kIoFailed, nullptr);
    set_load_progress(100.0f);
    return kLoadNew;
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
struct Corrections {
    bool save_board[kGroupSlots][kBoardSlots];
    bool save_case[kGroupSlots][kBoardSlots][kCaseSlots];
};

// Adds one of the default groups with its board. False when either could
// not be written.
bool add_default_group(const char* group, const char* board) {
    int g = add_group(group);
    return g >= 0 && add_board(board, nullptr, g, -1).flag == 0;
}

// Names of the files in the dated directories the repair pass has looked
// at: one directory listing answers "is it there" for every Case filed on
// that day, where a stat per file would cost a system call each. Only a
// name found in a listing is taken as present; anything else is asked of
// the file system directly.
class Listing {
public:
    bool has(const std::string& path) {
        size_t slash = path.find_last_of('/');
        if (slash == std::string::npos) return false;
        auto [it, fresh] = dirs_.try_emplace(path.substr(0, slash));
        if (fresh) {
            if (DIR* d = ::opendir(it->first.c_str())) {
                while (const dirent* e = ::readdir(d)) it->second.insert(e->d_name);
                ::closedir(d);
            }
        }
        return it->second.count(path.substr(slash + 1)) != 0;
    }

private:
    std::unordered_map<std::string, std::unordered_set<std::string>> dirs_;
};

// The repair pass's notes: what it found, and what it did about it, which
// it says only once the write that does it has succeeded.
class RepairLog {
public:
    explicit RepairLog(std::vector<std::string>* notes) : notes_(notes) {}

    void note(const std::string& text) {
        if (notes_) notes_->push_back(text);
    }
    // Something found that could not be repaired.
    void failed(const std::string& text) {
        failed_ = true;
        note(text);
    }
    // Writes the mended bytes; notes "<found>, <done>", or that the write
    // failed and why.
    bool write(const std::string& path, const void* data, size_t size, const std::string& found,
               const std::string& done) {
        if (store_write(path, data, size) == kIoOk) {
            note(found + ", " + done);
            return true;
        }
        failed(found + "; not repaired, the write failed: " + last_io_error());
        return false;
    }
    bool any_failed() const { return failed_; }

private:
    std::vector<std::string>* notes_;
    bool failed_ = false;
};

}  // namespace

int load_workspace() {
    clear_tables();
    set_load_failure(LoadFailure{});
    set_load_progress(0.0f);
    const std::string& root = Tables.root;
    std::string rf = root + "0/frame/root.frame";
    if (!dir_exists(root + "0/frame") || !file_exists(rf)) {
        if (Tables.read_only) return fail(kLoadNoRoot, rf, kIoMissing, "no workspace here");
        return make_new_workspace();
    }

    int io = read_file_exact(rf, &Tables.groups, sizeof Tables.groups);
    if (io != kIoOk) return fail(kLoadNoRoot, rf, io, nullptr);
    if (Tables.groups.count > static_cast<uint32_t>(kGroupSlots))
        return fail(kLoadNoRoot, rf, kIoOk, "group count past the table");
    Tables.root_file = open_rw(rf);

    // Everything is read first; corrections are written only once the whole
    // workspace has been read, so a failing load leaves the disk untouched.
    auto fixes = std::make_unique<Corrections>();

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

        publish_label(Tables.groups.names[g], 32);
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
            publish_label(bd.name, sizeof bd.name);
            int n = static_cast<int>(bd.case_count);
            if (n == 0) {
                add_load_progress(share);
                continue;
            }
            if (!ordinals_ok(bd, n)) {
                for (int i = 0; i < n; ++i) bd.cases[i].ordinal = static_cast<uint16_t>(i + 1);
                fixes->save_board[g][b] = true;
            }
            for (int i = 0; i < n; ++i) {
                bool dirty = false;
                int r = load_case(bd.cases[i], static_cast<int>(g), static_cast<int>(b), i, &dirty);
                if (r != 0) {
                    std::string cp =
                        make_path(root, bd.cases[i].type, bd.cases[i], r == kLoadNoCase ? 0 : 1);
                    int st = file_exists(cp) ? kIoShort : kIoMissing;
                    if (cp.empty()) cp = bp;
                    return fail(r, cp, st, st == kIoShort ? "short file or bad counts" : nullptr);
                }
                fixes->save_case[g][b][i] = dirty;
                const CaseRecord* rec = find_case(static_cast<int>(g), static_cast<int>(b), i);
                publish_label(rec->title, sizeof rec->title);
                add_load_progress(share / static_cast<float>(n));
            }
        }
    }

    // The whole workspace is in memory: write the corrections. One that
    // cannot be written stays in memory and is found and made again by the
    // next load, so it does not fail this one.
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        for (uint32_t g = 0; g < group_count; ++g)
            for (int b = 0; b < kBoardSlots; ++b) {
                if (fixes->save_board[g][b]) static_cast<void>(save_board(static_cast<int>(g), b));
                for (int s = 0; s < kCaseSlots; ++s)
                    if (fixes->save_case[g][b][s])
                        static_cast<void>(save_case(0, static_cast<int>(g), b, s));
            }
        for (int g = 0; g < kGroupSlots; ++g)
            for (int b = 0; b < kBoardSlots; ++b) {
                if (!Tables.case_rows[g][b]) continue;
                for (int s = 0; s < kCaseSlots; ++s)
                    if (find_case(g, b, s)) check_links(g, b, s);
            }
    }

    // A workspace made by the first open gets its two further groups now.
    // They are a convenience: a workspace without them is whole, so a disk
    // that refuses them does not fail the load.
    if (group_count == 1 && !Tables.read_only && add_default_group(kTaskGroup, kTaskBoard)) {
        static_cast<void>(add_default_group(kCheckGroup, kCheckBoard));
    }
    set_load_progress(100.0f);
    return kLoadOk;
}

int repair_workspace(std::vector<std::string>* notes) {
    RepairLog log(notes);
    const std::string& root = Tables.root;
    Listing listing;
    GroupTable table;
    std::string rf = root + "0/frame/root.frame";
    if (read_file_exact(rf, &table, sizeof table) != kIoOk) return kRepairNoRoot;
    // A count past the table is cut to the last slot that names a group.
    if (table.count > static_cast<uint32_t>(kGroupSlots)) {
        table.count = 0;
        for (uint32_t g = 0; g < kGroupSlots; ++g)
            if (table.names[g][0]) table.count = g + 1;
        log.write(rf, &table, sizeof table, "root.frame: group count past the table",
                  "cut to " + std::to_string(table.count));
    }
    uint32_t gcount = table.count;
    for (uint32_t g = 0; g < gcount; ++g) {
        if (!table.names[g][0]) continue;
        std::string gname = gbk_to_utf8(field_text(table.names[g], 32));
        std::string gp = make_path(root, kTypeGroup, table.keys[g], 0);
        GroupFile gf;
        if (gp.empty() || read_file_exact(gp, &gf, sizeof gf) != kIoOk) return kRepairNoGroup;
        // A count past the table is cut to the last slot that holds a key.
        if (gf.count > static_cast<uint32_t>(kBoardSlots)) {
            gf.count = 0;
            for (uint32_t b = 0; b < kBoardSlots; ++b)
                if (gf.keys[b].type != 0) gf.count = b + 1;
            log.write(gp, &gf, sizeof gf, "group " + gname + ": board count past the table",
                      "cut to " + std::to_string(gf.count));
        }
        uint32_t bcount = gf.count;
        for (uint32_t b = 0; b < bcount; ++b) {
            RecordKey& bk = gf.keys[b];
            if (bk.type == kTypeDeleted) continue;
            std::string bp = make_path(root, bk.type, bk, 0);
            auto board = std::make_unique<Board>();
            bool readable = !bp.empty() && (bk.type & 0x7FFF) == kTypeBoard &&
                            read_file_exact(bp, board.get(), sizeof(Board)) == kIoOk;
            // A Case count past the table is cut to it rather than losing the
            // board: the entries are then checked one by one below.
            if (readable && board->case_count > static_cast<uint32_t>(kCaseSlots)) {
                board->case_count = kCaseSlots;
                log.write(bp, board.get(), sizeof(Board),
                          "board file " + bp + ": Case count past the table",
                          "cut to " + std::to_string(kCaseSlots));
            }
            if (!readable) {
                int live = 0;
                for (uint32_t i = 0; i < bcount; ++i)
                    if (gf.keys[i].type != kTypeDeleted) ++live;
                const std::string found =
                    "group " + gname + ": board file " + (bp.empty() ? "?" : bp) + " unreadable";
                if (g == 0 && live == 1 && !bp.empty()) {
                    // The first group keeps a board: an empty one takes the
                    // lost one's key, and any file still there is kept aside
                    // under a name not yet taken; one that cannot be moved is
                    // left alone (the load then reports it).
                    bool aside = !file_exists(bp);
                    for (int n = 0; n < 100 && !aside; ++n)
                        aside = rename_no_replace(bp, bp + ".bad" + (n ? std::to_string(n) : ""));
                    if (!aside) {
                        log.failed(found + " and could not be kept aside");
                        continue;
                    }
                    std::memset(board.get(), 0, sizeof(Board));
                    board->size = sizeof(Board);
                    board->key = bk;
                    board->saved = bk;
                    board->value280 = board->value284 = -1;
                    gbk_copy_field(board->name, sizeof board->name, kFirstBoard);
                    make_dirs(root, bk);
                    log.write(bp, board.get(), sizeof(Board), found, "made empty");
                    continue;
                }
                bk.type = kTypeDeleted;
                log.write(gp, &gf, sizeof gf, found,
                          "slot " + std::to_string(b) + " marked deleted");
                continue;
            }
            std::string bname = gbk_to_utf8(field_text(board->name, sizeof board->name));
            for (uint32_t i = 0; i < board->case_count;) {
                const RecordKey& ck = board->cases[i];
                std::string cp = make_path(root, ck.type, ck, 0);
                int renamed = 0;
                // The read name is resolved only when the ".case" file is not
                // there; that is where a ".pass" file is brought back. A name
                // that cannot be made leaves the Case missing.
                bool present = !cp.empty() && (listing.has(cp) || file_exists(cp));
                if (!present && make_path_for_read(root, ck.type, &ck, 0, cp, renamed) == 0) {
                    present = file_exists(cp);
                    if (renamed) log.note("board " + bname + ": renamed .pass record to " + cp);
                }
                if (present) {
                    std::string body = make_path(root, ck.type, ck, 1);
                    bool body_there = listing.has(body) || file_exists(body);
                    if (!body_there &&
                        make_path_for_read(root, ck.type, &ck, 1, body, renamed) == 0) {
                        if (renamed) {
                            log.note("board " + bname + ": renamed .pass content to " + body);
                        }
                        body_there = file_exists(body);
                    }
                    if (!body_there) {
                        CaseBody empty;
                        std::memset(&empty, 0, sizeof empty);
                        std::memcpy(empty.text, "\n\n\n", 3);
                        log.write(body, &empty, sizeof empty,
                                  "board " + bname + ": content file " + body + " missing",
                                  "made empty");
                    }
                    ++i;
                    continue;
                }
                const std::string found =
                    "board " + bname + ": Case file " + (cp.empty() ? "?" : cp) + " missing";
                uint32_t n = board->case_count;
                for (uint32_t j = i; j + 1 < n; ++j) board->cases[j] = board->cases[j + 1];
                std::memset(&board->cases[n - 1], 0, sizeof(RecordKey));
                board->case_count = n - 1;
                log.write(bp, board.get(), sizeof(Board), found, "entry removed");
            }
        }
    }
    return log.any_failed() ? kRepairUnwritten : kRepairDone;
}

}  // namespace nd
