// nodrel-tool new / check / dump: create a workspace, repair and load it,
// and list what it holds.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/gbk.h"
#include "settings/settings.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"
#include "tools/nodrel-tool/command.h"

namespace {

bool root_of(const char* cmd, const char* wk, std::string& root) {
    std::string path = wk;
    if (path.size() < 4 || path.compare(path.size() - 3, 3, ".wk") != 0 ||
        !nd::workspace_root(path, root)) {
        std::fprintf(stderr, "nodrel-tool %s: '%s' is not a .wk path\n", cmd, wk);
        return false;
    }
    return true;
}

void print_load_failure(const char* cmd, int code) {
    nd::LoadFailure f = nd::last_load_failure();
    std::fprintf(stderr, "nodrel-tool %s: the workspace cannot be loaded (%d): %s\n  %s\n", cmd,
                 code, nd::gbk_to_utf8(f.message_gbk).c_str(), f.detail.c_str());
}

// Takes the workspace's in-use lock, as the program does when it opens one.
bool lock_workspace(const char* cmd, const char* wk, nd::WorkspaceSettings& ws) {
    std::string reason;
    int r = nd::load_workspace_settings(ws, wk, &reason);
    if (r == nd::kWkInUse) {
        std::fprintf(stderr, "nodrel-tool %s: %s is in use by another program\n", cmd, wk);
        return false;
    }
    if (r < 0) {
        std::fprintf(stderr, "nodrel-tool %s: %s\n", cmd, reason.c_str());
        return false;
    }
    if (r == nd::kWkCreated && nd::file_exists(std::string(wk) + ".bad"))
        std::printf("settings record was damaged: kept as %s.bad, defaults written\n", wk);
    return true;
}

int run_new(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nodrel-tool new PATH.wk\n");
        return 2;
    }
    std::string root;
    if (!root_of("new", argv[1], root)) return 2;
    if (nd::file_exists(argv[1]) || nd::file_exists(root + "0/frame/root.frame")) {
        std::fprintf(stderr, "nodrel-tool new: a workspace already exists at %s\n", argv[1]);
        return 1;
    }
    nd::WorkspaceSettings ws;
    if (!lock_workspace("new", argv[1], ws)) return 1;
    nd::set_workspace_root(root);
    int r = nd::load_workspace();
    nd::close_workspace_settings(ws);
    if (r != nd::kLoadNew) {
        print_load_failure("new", r);
        return 1;
    }
    std::printf("created %s with workspace directory %s\n", argv[1], root.c_str());
    return 0;
}

int run_check(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nodrel-tool check PATH.wk\n");
        return 2;
    }
    std::string root;
    if (!root_of("check", argv[1], root)) return 2;
    if (!nd::file_exists(argv[1])) {
        std::fprintf(stderr, "nodrel-tool check: %s does not exist\n", argv[1]);
        return 1;
    }
    nd::WorkspaceSettings ws;
    if (!lock_workspace("check", argv[1], ws)) return 1;
    nd::set_workspace_root(root);
    std::vector<std::string> notes;
    int rep = nd::repair_workspace(&notes);
    for (const std::string& n : notes) std::printf("repaired: %s\n", n.c_str());
    if (rep == nd::kRepairNoRoot)
        std::fprintf(stderr, "nodrel-tool check: %s0/frame/root.frame is missing\n", root.c_str());
    if (rep == nd::kRepairNoGroup)
        std::fprintf(stderr, "nodrel-tool check: a group file is missing\n");
    if (rep == nd::kRepairUnwritten)
        std::fprintf(stderr, "nodrel-tool check: some repairs could not be written (see above)\n");
    // After repairs that could not be written the load still shows what
    // opens and what does not.
    bool loadable = rep == nd::kRepairDone || rep == nd::kRepairUnwritten;
    int r = loadable ? nd::load_workspace() : nd::kLoadNoRoot;
    nd::close_workspace_settings(ws);
    if (loadable && r < 0) print_load_failure("check", r);
    if (rep != nd::kRepairDone || r < 0) return 1;
    int groups = 0, boards = 0, cases = 0;
    for (int g = 0; g < nd::kGroupSlots; ++g) {
        if (!nd::Tables.group_boards[g]) continue;
        ++groups;
        for (int b = 0; b < nd::kBoardSlots; ++b) {
            if (!nd::find_board(g, b)) continue;
            ++boards;
            for (int s = 0; s < nd::kCaseSlots; ++s) cases += nd::find_case(g, b, s) != nullptr;
        }
    }
    if (r == nd::kLoadNew) std::printf("no workspace was there: a new one was made\n");
    std::printf("groups=%d boards=%d cases=%d\n", groups, boards, cases);
    return 0;
}

std::string key_text(const nd::RecordKey& k) {
    char buf[80];
    std::snprintf(buf, sizeof buf, "%u:%04u-%02u-%02u %02u:%02u:%02u:%04X", unsigned{k.type},
                  unsigned{k.year}, unsigned{k.month}, unsigned{k.day}, unsigned{k.hour},
                  unsigned{k.minute}, unsigned{k.second}, unsigned{k.serial});
    return buf;
}

std::string rel(const std::string& root, const std::string& path) {
    return path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : path;
}

std::string utf8(const char* field, size_t width) {
    return nd::gbk_to_utf8(nd::field_text(field, width));
}

int run_dump(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nodrel-tool dump PATH.wk\n");
        return 2;
    }
    std::string root;
    if (!root_of("dump", argv[1], root)) return 2;
    // A dump only reads: no lock, no repair, and nothing written.
    nd::Tables.read_only = true;
    nd::set_workspace_root(root);
    int r = nd::load_workspace();
    if (r < 0) {
        print_load_failure("dump", r);
        std::fprintf(stderr, "  (nodrel-tool check repairs missing files)\n");
        return 1;
    }
    const nd::GroupTable& gt = nd::Tables.groups;
    for (int g = 0; g < nd::kGroupSlots; ++g) {
        const nd::GroupBoards* gb = nd::Tables.group_boards[g].get();
        if (!gb) continue;
        std::printf("group %d \"%s\" key=%s file=%s\n", g, utf8(gt.names[g], 32).c_str(),
                    key_text(gt.keys[g]).c_str(),
                    rel(root, nd::make_path(root, nd::kTypeGroup, gt.keys[g], 0)).c_str());
        for (int b = 0; b < nd::kBoardSlots; ++b) {
            const nd::Board* bd = nd::find_board(g, b);
            if (!bd) continue;
            std::printf("  board %d.%d \"%s\" key=%s file=%s cases=%u\n", g, b,
                        utf8(bd->name, sizeof bd->name).c_str(), key_text(bd->key).c_str(),
                        rel(root, nd::make_path(root, bd->key.type, bd->key, 0)).c_str(),
                        bd->case_count);
            for (int s = 0; s < nd::kCaseSlots; ++s) {
                const nd::CaseRecord* c = nd::find_case(g, b, s);
                if (!c) continue;
                std::printf("    case %d.%d.%d #%u \"%s\" key=%s file=%s\n", g, b, s,
                            unsigned{bd->cases[s].ordinal}, utf8(c->title, sizeof c->title).c_str(),
                            key_text(c->key).c_str(),
                            rel(root, nd::make_path(root, c->key.type, c->key, 0)).c_str());
            }
        }
    }
    return 0;
}

const tool::Registration new_command({"new", "new PATH.wk", run_new});
const tool::Registration check_command({"check", "check PATH.wk", run_check});
const tool::Registration dump_command({"dump", "dump PATH.wk", run_dump});

}  // namespace
