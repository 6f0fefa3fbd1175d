// The settings envelope and the three records sealed in it.
#include <cstring>
#include <filesystem>
#include <string>

#include "base/file_io.h"
#include "settings/envelope.h"
#include "settings/settings.h"
#include "tools/fuzz/entries.h"

namespace nd::fuzz {

namespace {

bool known_unseal_status(int s) {
    return s == kUnsealOk || s == kUnsealShort || s == kUnsealTrailer || s == kUnsealSize ||
           s == kUnsealCipher;
}

// The input as a file of each kind: it must unseal to a record of the
// asked size or be refused with a status.
void unseal_as_file(const std::string& bytes) {
    for (size_t expected : {size_t{0}, sizeof(ConfigRecord), sizeof(RecentTable),
                            sizeof(WorkspaceRecord)}) {
        std::string record;
        const int s = unseal(bytes, record, expected);
        fuzz_require(known_unseal_status(s), "unseal returns one of its statuses");
        if (s == kUnsealOk && expected) fuzz_require(record.size() == expected, "record size");
    }
}

// `bytes` cut or zero-padded to a record of `size` bytes.
std::string record_of(const std::string& bytes, size_t size) {
    std::string r = bytes.substr(0, size);
    r.resize(size, '\0');
    return r;
}

void write_whole(const std::string& path, const std::string& bytes) {
    fuzz_require(write_file_atomic(path, bytes.data(), bytes.size()) == kIoOk,
                 "the scratch file can be written");
}

// A record read back from a sealed file must be the record sealed, and the
// loaders must take it with their corrections.
void load_sealed_record(const std::string& body, int kind) {
    const std::string dir = scratch_dir() + "settings/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    if (kind == 0) {
        const std::string rec = record_of(body, sizeof(WorkspaceRecord));
        const std::string sealed = seal_with_seed(rec.data(), rec.size(), 12345);
        std::string back;
        fuzz_require(unseal(sealed, back, rec.size()) == kUnsealOk && back == rec,
                     "a sealed .wk record unseals to itself");
        write_whole(dir + "w.wk", sealed);
        WorkspaceSettings ws;
        std::string reason;
        fuzz_require(load_workspace_settings(ws, dir + "w.wk", &reason) == kWkLoaded,
                     "a sealed .wk record loads");
        const WorkspaceRecord& r = ws.record;
        fuzz_require(r.skin != 1 && r.width >= 900 && r.height >= 600 && r.mark == 2052 &&
                         r.byte327 == 0 && r.password[sizeof r.password - 1] == 0,
                     "the .wk corrections hold");
        fuzz_require(save_workspace_settings(ws) == 0, "the .wk record saves again");
        close_workspace_settings(ws);
    } else if (kind == 1) {
        const std::string rec = record_of(body, sizeof(ConfigRecord));
        write_whole(dir + "config.cfg", seal_with_seed(rec.data(), rec.size(), 777));
        ConfigRecord cfg;
        fuzz_require(load_config(dir + "config.cfg", cfg) == 0, "a sealed config.cfg loads");
        fuzz_require(cfg.profiles[kProductCode].major == kVersionMajor,
                     "config.cfg gets the program's version");
    } else {
        const std::string rec = record_of(body, sizeof(RecentTable));
        write_whole(dir + "table.cfg", seal_with_seed(rec.data(), rec.size(), 4242));
        RecentList list;
        fuzz_require(load_recent(list, dir + "table.cfg") == 0, "a sealed table.cfg loads");
        fuzz_require(list.table.count >= 0 && list.table.count <= 20, "the recent count");
        // What the start page does with the list: look a path up, move the
        // found entry to the top, add one.
        const int at = find_recent(list, "/nowhere/x.wk");
        fuzz_require(at == -1, "an absent path is not found");
        if (list.table.count > 0) {
            fuzz_require(move_recent_to_top(list, list.table.count - 1) == 0, "move to top");
        }
        const int added = add_recent(list, (dir + "added.wk").c_str(), "added.wk");
        fuzz_require(added >= 0 && added < 20 && find_recent(list, (dir + "added.wk").c_str()) >= 0,
                     "an added entry is found");
    }
}

// The input itself as a .wk file: damaged ones are kept aside and replaced.
void load_raw_wk(const std::string& bytes) {
    const std::string dir = scratch_dir() + "settings/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    write_whole(dir + "r.wk", bytes);
    WorkspaceSettings ws;
    std::string reason;
    const int s = load_workspace_settings(ws, dir + "r.wk", &reason);
    fuzz_require(s == kWkLoaded || s == kWkCreated, "a .wk file loads or is replaced");
    fuzz_require(s == kWkLoaded || file_exists(ws.kept_aside), "a damaged .wk is kept aside");
    close_workspace_settings(ws);
}

}  // namespace

void settings_one(const uint8_t* data, size_t size) {
    set_sync_writes(false);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    unseal_as_file(bytes);
    load_raw_wk(bytes);
    if (size > 0) load_sealed_record(bytes.substr(1), data[0] % 3);
}

}  // namespace nd::fuzz
