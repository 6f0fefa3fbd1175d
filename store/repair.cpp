// The repair pass run before every load: it mends what would stop the load
// or hide what the user has, straight on the files, before the tables are
// filled. The recovery of Cases no board lists is in gather.cpp.
#include <dirent.h>

#include <cstring>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "base/file_io.h"
#include "base/gbk.h"
#include "store/boards.h"
#include "store/gather.h"
#include "store/load.h"
#include "store/note_log.h"
#include "store/paths.h"
#include "store/tables.h"
#include "store/texts.h"

namespace nd {

namespace {

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

const char* io_word(int io) {
    return io == kIoMissing ? "missing" : "unreadable";
}

const char* io_problem(int io) {
    return io == kIoMissing ? store_text::kFileMissing : store_text::kFileUnreadable;
}

// A board file that cannot be read at all. The first group keeps a board:
// when its only one is lost, an empty one takes the lost one's key, and a
// file still there is moved aside first (one that cannot be moved is left
// alone, and the load then names it). Any other lost board's slot is marked
// deleted in its group file.
void lose_board(NoteLog& log, GroupFile& gf, uint32_t b, uint32_t g, const std::string& gp,
                const std::string& gname, const std::string& gname_gbk, int io) {
    RecordKey& bk = gf.keys[b];
    const std::string bp = make_path(Tables.root, bk.type, bk, 0);
    int live = 0;
    for (uint32_t i = 0; i < gf.count; ++i)
        if (gf.keys[i].type != kTypeDeleted) ++live;
    const std::string found = "group " + gname + ": board file " + (bp.empty() ? "?" : bp) + " " +
                              io_word(bp.empty() ? kIoMissing : io);
    const std::string subject =
        subject_gbk(store_text::kGroupWord, gname_gbk.c_str(), gname_gbk.size() + 1) +
        store_text::kOneBoardIn;
    if (g == 0 && live == 1 && !bp.empty()) {
        std::string kept;
        bool aside = log.dry_run() || !file_exists(bp) || keep_aside(bp, &kept);
        Finding f{found, "made empty", subject, io_problem(io), store_text::kRemadeEmpty};
        if (!aside) {
            f.action = "could not be kept aside";
            log.record(f, false);
            return;
        }
        if (!kept.empty()) {
            f.action = "kept as " + kept + " and made empty";
            f.action_gbk = std::string(store_text::kRemadeEmptyKeptAs) + gbk_of(kept);
        }
        Board empty;
        init_board_record(empty, "\xb7\xd6\xc0\xe0\x31", bk);  // 分类1
        if (!log.dry_run()) make_dirs(Tables.root, bk);
        log.write(bp, &empty, sizeof empty, f);
        return;
    }
    bk.type = kTypeDeleted;
    log.write(gp, &gf, sizeof gf,
              {found, "slot " + std::to_string(b) + " marked deleted", subject, io_problem(io),
               store_text::kSlotDeleted});
}

// Checks every Case entry of a board that could be read: an entry whose
// record is gone is dropped (the board file rewritten), a ".pass" record
// is brought back, a missing content file is made again empty.
void check_entries(NoteLog& log, Listing& listing, Board& board, const std::string& bp,
                   Gathering& gathering) {
    const std::string& root = Tables.root;
    const std::string bname = gbk_to_utf8(field_text(board.name, sizeof board.name));
    const std::string subject =
        subject_gbk(store_text::kBoardWord, board.name, sizeof board.name) + store_text::kOneCaseIn;
    for (uint32_t i = 0; i < board.case_count;) {
        const RecordKey& ck = board.cases[i];
        std::string cp = make_path(root, ck.type, ck, 0);
        int renamed = 0;
        // The read name is resolved only when the ".case" file is not there;
        // that is where a ".pass" file is brought back. A name that cannot be
        // made leaves the Case missing.
        bool present = !cp.empty() && (listing.has(cp) || file_exists(cp));
        if (!present &&
            make_path_for_read(root, ck.type, &ck, 0, cp, renamed, !log.dry_run()) == 0) {
            present = file_exists(cp);
            if (present && cp.size() > 5 && cp.compare(cp.size() - 5, 5, ".pass") == 0) renamed = 1;
            if (renamed) {
                log.record(routine("board " + bname + ": Case record under a .pass name",
                                   "renamed to " + make_path(root, ck.type, ck, 0)),
                           true);
            }
        }
        if (present) {
            gathering.listed(ck);
            std::string body = make_path(root, ck.type, ck, 1);
            bool body_there = listing.has(body) || file_exists(body);
            if (!body_there &&
                make_path_for_read(root, ck.type, &ck, 1, body, renamed, !log.dry_run()) == 0) {
                body_there = file_exists(body);
                if (body_there && renamed) {
                    log.record(routine("board " + bname + ": Case content under a .pass name",
                                       "renamed to " + body),
                               true);
                }
            }
            if (!body_there) write_empty_body(log, body, "board " + bname, subject);
            ++i;
            continue;
        }
        const std::string found =
            "board " + bname + ": Case file " + (cp.empty() ? "?" : cp) + " missing";
        uint32_t n = board.case_count;
        for (uint32_t j = i; j + 1 < n; ++j) board.cases[j] = board.cases[j + 1];
        std::memset(&board.cases[n - 1], 0, sizeof(RecordKey));
        board.case_count = n - 1;
        log.write(
            bp, &board, sizeof board,
            {found, "entry removed", subject, store_text::kFileMissing, store_text::kEntryRemoved});
    }
}

}  // namespace

void write_empty_body(NoteLog& log, const std::string& body, const std::string& where,
                      const std::string& subject) {
    CaseBody empty;
    std::memset(&empty, 0, sizeof empty);
    std::memcpy(empty.text, "\n\n\n", 3);
    log.write(body, &empty, sizeof empty,
              {where + ": content file " + body + " missing", "made empty", subject,
               store_text::kBodyMissing, store_text::kBodyMadeEmpty});
}

int repair_workspace(RepairNotes* notes, RepairMode mode) {
    NoteLog log(notes, mode == RepairMode::kDryRun);
    const std::string& root = Tables.root;
    Listing listing;
    Gathering gathering;
    GroupTable table;
    std::string rf = root + "0/frame/root.frame";
    if (read_file_exact(rf, &table, sizeof table) != kIoOk) return kRepairNoRoot;
    // A count past the table is cut to the last slot that names a group.
    if (table.count > static_cast<uint32_t>(kGroupSlots)) {
        table.count = 0;
        for (uint32_t g = 0; g < kGroupSlots; ++g)
            if (table.names[g][0]) table.count = g + 1;
        log.write(
            rf, &table, sizeof table,
            {"root.frame: group count past the table", "cut to " + std::to_string(table.count),
             store_text::kGroupTableWord, store_text::kCountPast, store_text::kCorrected});
    }
    uint32_t gcount = table.count;
    for (uint32_t g = 0; g < gcount; ++g) {
        if (!table.names[g][0]) continue;
        const std::string gname_gbk = field_text(table.names[g], 32);
        const std::string gname = gbk_to_utf8(gname_gbk);
        std::string gp = make_path(root, kTypeGroup, table.keys[g], 0);
        GroupFile gf;
        if (gp.empty() || read_file_exact(gp, &gf, sizeof gf) != kIoOk) return kRepairNoGroup;
        // A count past the table is cut to the last slot that holds a key.
        if (gf.count > static_cast<uint32_t>(kBoardSlots)) {
            gf.count = 0;
            for (uint32_t b = 0; b < kBoardSlots; ++b)
                if (gf.keys[b].type != 0) gf.count = b + 1;
            log.write(gp, &gf, sizeof gf,
                      {"group " + gname + ": board count past the table",
                       "cut to " + std::to_string(gf.count),
                       subject_gbk(store_text::kGroupWord, table.names[g], 32),
                       store_text::kCountPast, store_text::kCorrected});
        }
        for (uint32_t b = 0; b < gf.count; ++b) {
            const RecordKey bk = gf.keys[b];
            if (bk.type == kTypeDeleted) {
                gathering.deleted_board(make_path(root, kTypeBoard, bk, 0));
                continue;
            }
            std::string bp = make_path(root, bk.type, bk, 0);
            auto board = std::make_unique<Board>();  // zeroed: a short read leaves zeros
            size_t held = 0;
            int io = bp.empty() || (bk.type & 0x7FFF) != kTypeBoard
                         ? kIoMissing
                         : read_file_prefix(bp, board.get(), sizeof(Board), &held);
            if (io == kIoMissing || io == kIoFailed) {
                lose_board(log, gf, b, g, gp, gname, gname_gbk, io);
                continue;
            }
            if (io == kIoShort) {
                // A board that opens but is short is remade from what it
                // holds and keeps its slot; Cases its list no longer names
                // are gathered below.
                const std::string original(reinterpret_cast<const char*>(board.get()), held);
                if (mend_short_board(*board, held, bk)) gathering.list_cut(static_cast<int>(g), gp);
                log.keep_and_write(
                    bp, original,
                    [&] { return store_write(bp, board.get(), sizeof(Board)) == kIoOk; },
                    {"group " + gname + ": board file " + bp + " truncated (" +
                         std::to_string(held) + " of 24864 bytes)",
                     "remade from what is readable",
                     subject_gbk(store_text::kBoardWord, board->name, sizeof board->name),
                     store_text::kFileTruncated, store_text::kRemadeKeptAs});
            } else if (board->case_count > static_cast<uint32_t>(kCaseSlots)) {
                // A Case count past the table is cut to it rather than losing
                // the board: the entries are then checked one by one below.
                board->case_count = kCaseSlots;
                log.write(bp, board.get(), sizeof(Board),
                          {"board file " + bp + ": Case count past the table",
                           "cut to " + std::to_string(kCaseSlots),
                           subject_gbk(store_text::kBoardWord, board->name, sizeof board->name),
                           store_text::kCountPast, store_text::kCorrected});
            }
            check_entries(log, listing, *board, bp, gathering);
        }
    }
    gather_unlisted_cases(log, gathering);
    return log.any_failed() ? kRepairUnwritten : kRepairDone;
}

}  // namespace nd
