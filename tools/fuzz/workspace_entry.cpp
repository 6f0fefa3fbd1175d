// The workspace loader and its repair pass over a small workspace whose
// files the input edits.
//
// The workspace is made once per process through the store, as the program
// makes it: two boards of one group (and the two default groups of a second
// opening), three Cases with content, links between them and a point file.
// Its files are listed in a fixed order (the group table, the group files,
// the boards, then each Case's record, content and point file), so an input
// names the same file on every run. The input is a list of edits:
//
//   file (1 byte, modulo the file count), action (1 byte), then per action:
//   0..3 overwrite: offset (2 bytes LE), length (1 byte, plus one), bytes
//   4    cut the file to an offset (2 bytes LE)
//   5    remove the file
//   6    replace the file by bytes: length (2 bytes LE), bytes
//   7    rename a Case record to its ".pass" name (other files: remove)
//
// Each edited tree is looked at as `nodrel-tool check` does (nothing may be
// written), then repaired and loaded as the program opens it; a workspace
// the program opened must then pass the look without a finding.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "base/file_io.h"
#include "base/park_miller.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"
#include "tools/fuzz/entries.h"

namespace nd::fuzz {

namespace {

namespace fs = std::filesystem;

struct TemplateFile {
    std::string rel;  // below the workspace root
    std::string bytes;
};

std::string read_whole(const std::string& path) {
    std::string out;
    fuzz_require(read_file_all(path, out, 1 << 20) == kIoOk, "a template file reads");
    return out;
}

// The files of the loaded workspace in the fixed order.
std::vector<TemplateFile> list_files(const std::string& root) {
    std::vector<TemplateFile> files;
    auto add = [&](const std::string& path) {
        if (!file_exists(path)) return;
        files.push_back({path.substr(root.size()), read_whole(path)});
    };
    add(root + "0/frame/root.frame");
    for (int g = 0; g < kGroupSlots; ++g)
        if (Tables.group_boards[g]) add(make_path(root, kTypeGroup, Tables.groups.keys[g], 0));
    for (int g = 0; g < kGroupSlots; ++g)
        for (int b = 0; b < kBoardSlots; ++b)
            if (const Board* bd = find_board(g, b)) add(make_path(root, bd->key.type, bd->key, 0));
    for (int g = 0; g < kGroupSlots; ++g)
        for (int b = 0; b < kBoardSlots; ++b)
            for (int s = 0; s < kCaseSlots; ++s) {
                const CaseRecord* r = find_case(g, b, s);
                if (!r) continue;
                add(make_path(root, r->key.type, r->key, 0));
                add(make_path(root, r->key.type, r->key, 1));
                add(make_points_path(root, r->key));
            }
    return files;
}

std::vector<TemplateFile> make_template() {
    const std::string root = scratch_dir() + "template/";
    seed_random(1);
    clear_tables();
    Tables.read_only = false;
    set_workspace_root(root);
    fuzz_require(load_workspace() == kLoadNew, "the template workspace is made");
    const RecordKey board_key = make_key_at(kTypeBoard, 1600000000);
    fuzz_require(add_board("second", &board_key, 0, -1).flag == 0, "a second board");
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        const char* texts[] = {"first\n**img:00\nafter\n\n\n", "\xD6\xD0\xCE\xC4\n\n\n", ""};
        for (int i = 0; i < 3; ++i) {
            const RecordKey key = make_key_at(static_cast<uint16_t>(kAttrEvent + i), 1600000000);
            const LocationRef at = create_case("case", key, 0, i == 2 ? 1 : 0);
            fuzz_require(at.flag == 0, "a template Case");
            std::strcpy(find_case_body(0, at.board, at.slot)->text, texts[i]);
            fuzz_require(save_case(2, 0, at.board, at.slot) == 0, "a template Case saves");
        }
        CaseRecord* a = find_case(0, 0, 0);
        CaseRecord* b = find_case(0, 0, 1);
        CaseRecord* c = find_case(0, 1, 0);
        fuzz_require(add_link(*a, b->key, {0, 0, 0, 1}, false, nullptr) &&
                         add_link(*b, a->key, {0, 0, 0, 0}, false, nullptr) &&
                         add_link(*a, c->key, {0, 0, 1, 0}, true, nullptr),
                     "template links");
        fuzz_require(save_case(0, 0, 0, 0) == 0 && save_case(0, 0, 0, 1) == 0, "links saved");
        CasePointFile points;
        fuzz_require(load_points(*a, points) == 0, "a point file");
    }
    // The second opening adds the default groups; the template is settled
    // after it, as a workspace the user has opened before.
    clear_tables();
    set_workspace_root(root);
    fuzz_require(load_workspace() == kLoadOk, "the template reopens");
    clear_tables();
    set_workspace_root(root);
    fuzz_require(load_workspace() == kLoadOk, "the template opens settled");
    std::vector<TemplateFile> files = list_files(root);
    clear_tables();
    return files;
}

struct Reader {
    const uint8_t* p;
    const uint8_t* end;
    bool has(size_t n) const { return static_cast<size_t>(end - p) >= n; }
    uint8_t u8() { return has(1) ? *p++ : 0; }
    uint16_t u16() {
        const uint16_t lo = u8();
        return static_cast<uint16_t>(lo | (u8() << 8));
    }
    std::string take(size_t n) {
        n = std::min(n, static_cast<size_t>(end - p));
        std::string s(reinterpret_cast<const char*>(p), n);
        p += n;
        return s;
    }
};

void put(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    fuzz_require(write_file_atomic(path, bytes.data(), bytes.size()) == kIoOk,
                 "an edited file can be written");
}

void apply_edits(const std::vector<TemplateFile>& files, const std::string& root, Reader in) {
    while (in.has(2)) {
        const TemplateFile& f = files[in.u8() % files.size()];
        const std::string path = root + f.rel;
        const int action = in.u8() % 8;
        std::string now;
        if (read_file_all(path, now, 1 << 20) != kIoOk) now.clear();
        if (action <= 3) {
            const size_t at = in.u16();
            const std::string bytes = in.take(in.u8() + 1u);
            if (now.size() < at + bytes.size()) now.resize(at + bytes.size(), '\0');
            now.replace(at, bytes.size(), bytes);
            put(path, now);
        } else if (action == 4) {
            now.resize(std::min<size_t>(now.size(), in.u16()));
            put(path, now);
        } else if (action == 6) {
            put(path, in.take(in.u16()));
        } else if (action == 7 && path.size() > 5 && path.ends_with(".case") &&
                   path.find("_BODY") == std::string::npos) {
            std::error_code ignored;
            fs::rename(path, path.substr(0, path.size() - 5) + ".pass", ignored);
        } else {
            std::error_code ignored;
            fs::remove(path, ignored);
        }
    }
}

bool known_load_status(int s) {
    return s == kLoadNew || s == kLoadOk || s == kLoadNoRoot || s == kLoadNoGroup ||
           s == kLoadNoBoard || s == kLoadNoCase || s == kLoadNoCaseBody;
}

// What the look that only reads finds: the load status, and the notes.
int look(const std::string& root, RepairNotes* notes) {
    clear_tables();
    Tables.read_only = true;
    set_workspace_root(root);
    const int rep = repair_workspace(notes, RepairMode::kDryRun);
    fuzz_require(rep == kRepairDone || rep == kRepairNoRoot || rep == kRepairNoGroup,
                 "the dry run returns a status of its own");
    int s = kLoadNoRoot;
    if (rep == kRepairDone) {
        s = load_workspace(notes);
        fuzz_require(known_load_status(s), "the load returns one of its statuses");
    }
    clear_tables();
    Tables.read_only = false;
    return rep == kRepairDone ? s : rep;
}

// Every loaded Case has its content, sits on a loaded board and is counted.
void check_tables() {
    for (int g = 0; g < kGroupSlots; ++g) {
        for (int b = 0; b < kBoardSlots; ++b) {
            const Board* bd = find_board(g, b);
            int held = 0;
            for (int s = 0; s < kCaseSlots; ++s) {
                if (!find_case(g, b, s)) continue;
                ++held;
                fuzz_require(bd != nullptr, "a loaded Case sits on a loaded board");
                fuzz_require(find_case_body(g, b, s) != nullptr, "a loaded Case has content");
                // The point file is read (and made when missing) as the
                // Case's analysis does.
                CasePointFile points;
                static_cast<void>(load_points(*find_case(g, b, s), points));
            }
            if (bd) fuzz_require(static_cast<int>(bd->case_count) >= held, "the Case count");
        }
    }
}

}  // namespace

void workspace_one(const uint8_t* data, size_t size) {
    set_sync_writes(false);
    static const std::vector<TemplateFile> files = make_template();
    const std::string root = scratch_dir() + "ws/";
    std::error_code ignored;
    fs::remove_all(root, ignored);
    for (const TemplateFile& f : files) put(root + f.rel, f.bytes);
    apply_edits(files, root, Reader{data, data + size});

    // The look that only reads changes nothing on disk.
    std::vector<std::string> before;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) before.push_back(e.path().string() + ":" +
                                                  std::to_string(e.file_size()));
    RepairNotes dry;
    static_cast<void>(look(root, &dry));
    std::vector<std::string> after;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) after.push_back(e.path().string() + ":" +
                                                 std::to_string(e.file_size()));
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    fuzz_require(before == after, "the check writes nothing");

    // The program's opening: repair, then load.
    clear_tables();
    set_workspace_root(root);
    RepairNotes notes;
    const int rep = repair_workspace(&notes, RepairMode::kRepair);
    if (rep != kRepairDone) {
        fuzz_require(rep == kRepairNoRoot || rep == kRepairNoGroup, "the repair pass status");
        clear_tables();
        return;
    }
    const int s = load_workspace(&notes);
    fuzz_require(known_load_status(s), "the load returns one of its statuses");
    if (s >= 0) check_tables();
    clear_tables();
    if (s < 0) return;

    // A workspace the program opened passes the check afterwards.
    RepairNotes again;
    const int second = look(root, &again);
    fuzz_require(second == kLoadOk, "an opened workspace loads again");
    for (const RepairNote& n : again) {
        if (n.damage) std::fprintf(stderr, "fuzz: finding after the repair: %s\n", n.line().c_str());
        fuzz_require(!n.damage, "an opened workspace passes the check");
    }
}

}  // namespace nd::fuzz
