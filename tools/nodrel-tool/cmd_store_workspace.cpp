// nodrel-tool new / check / repair / dump: create a workspace, look it over
// (check reads only and says what a repair would do; check --repair and
// repair mend it as the program does when it opens it), and list what it
// holds.
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
#include "tools/nodrel-tool/read_workspace.h"

namespace {

// What became of each finding, one line each: what a repair needs or did.
void print_notes(const nd::RepairNotes& notes) {
    for (const nd::RepairNote& n : notes) {
        const char* prefix = "";
        switch (n.outcome) {
            case nd::RepairNote::kDone:
                prefix = n.damage ? "repaired: " : "updated: ";
                break;
            case nd::RepairNote::kWouldDo:
                prefix = n.damage ? "needs repair: " : "at the next opening: ";
                break;
            case nd::RepairNote::kFailed:
                prefix = "failed: ";
                break;
        }
        std::printf("%s%s\n", prefix, n.line().c_str());
    }
}

void print_counts() {
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
    std::printf("groups=%d boards=%d cases=%d\n", groups, boards, cases);
}

// True when a group table at `root` names a group: a workspace is there.
bool workspace_exists(const std::string& root) {
    nd::GroupTable table;
    if (nd::read_file_exact(root + "0/frame/root.frame", &table, sizeof table) != nd::kIoOk)
        return false;
    for (const auto& name : table.names)
        if (name[0]) return true;
    return false;
}

// False, with the reason told, when the repair pass could not run at all.
bool repair_pass_ran(const char* cmd, int rep, const std::string& root) {
    if (rep == nd::kRepairNoRoot) {
        std::fprintf(stderr, "nodrel-tool %s: %s0/frame/root.frame is missing\n", cmd,
                     root.c_str());
        return false;
    }
    if (rep == nd::kRepairNoGroup) {
        std::fprintf(stderr, "nodrel-tool %s: a group file is missing\n", cmd);
        return false;
    }
    return true;
}

int run_new(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nodrel-tool new PATH.wk\n");
        return 2;
    }
    std::string root;
    if (!tool::workspace_root_of("new", argv[1], root)) return 2;
    // A creation cut short leaves a ".wk" and perhaps some files, but no
    // group table that names a group: that is no workspace yet, and it is
    // made now.
    if (workspace_exists(root)) {
        std::fprintf(stderr, "nodrel-tool new: a workspace already exists at %s\n", argv[1]);
        return 1;
    }
    nd::WorkspaceSettings ws;
    std::string reason;
    if (nd::load_workspace_settings(ws, argv[1], &reason) < 0) {
        std::fprintf(stderr, "nodrel-tool new: %s\n", reason.c_str());
        return 1;
    }
    nd::set_workspace_root(root);
    int r = nd::load_workspace();
    nd::close_workspace_settings(ws);
    if (r != nd::kLoadNew) {
        tool::print_load_failure("new", r);
        return 1;
    }
    std::printf("created %s with workspace directory %s\n", argv[1], root.c_str());
    return 0;
}

// check: reads only. It takes the in-use lock so it never looks at a
// workspace in the middle of a save, and prints what a repair would do.
int check_only(const char* wk, const std::string& root) {
    nd::WorkspaceSettings ws;
    std::string reason;
    int st = nd::inspect_workspace_settings(ws, wk, &reason);
    if (st == nd::kWkInUse) {
        std::fprintf(stderr, "nodrel-tool check: %s is in use by another program\n", wk);
        return 1;
    }
    if (st == nd::kWkFailed) {
        std::fprintf(stderr, "nodrel-tool check: %s\n", reason.c_str());
        return 1;
    }
    bool needs = st == nd::kWkDamaged;
    if (needs) {
        std::printf(
            "needs repair: settings record %s damaged; a repair would: keep it aside as "
            "a \".bad\" file and write the defaults (the lock password included)\n",
            wk);
    }
    nd::Tables.read_only = true;
    nd::set_workspace_root(root);
    nd::RepairNotes notes;
    int rep = nd::repair_workspace(&notes, nd::RepairMode::kDryRun);
    bool ran = repair_pass_ran("check", rep, root);
    int r = ran ? nd::load_workspace(&notes) : nd::kLoadNoRoot;
    nd::close_workspace_settings(ws);
    print_notes(notes);
    if (!ran) return 1;
    for (const nd::RepairNote& n : notes) needs = needs || n.damage;
    if (r < 0) {
        tool::print_load_failure("check", r);
        if (!needs) return 1;
    } else {
        print_counts();
    }
    if (needs) {
        std::fprintf(stderr, "nodrel-tool check: repair needed (nodrel-tool check --repair %s)\n",
                     wk);
        return 1;
    }
    return 0;
}

// check --repair, repair: what the program does when it opens the
// workspace, saying what it wrote and what it could not.
int check_and_repair(const char* cmd, const char* wk, const std::string& root) {
    nd::WorkspaceSettings ws;
    std::string reason;
    int st = nd::load_workspace_settings(ws, wk, &reason);
    if (st == nd::kWkInUse) {
        std::fprintf(stderr, "nodrel-tool %s: %s is in use by another program\n", cmd, wk);
        return 1;
    }
    if (st < 0) {
        std::fprintf(stderr, "nodrel-tool %s: %s\n", cmd, reason.c_str());
        return 1;
    }
    if (!ws.kept_aside.empty()) {
        std::printf(
            "repaired: settings record %s damaged, kept as %s and the defaults written "
            "(the lock password included)\n",
            wk, ws.kept_aside.c_str());
    }
    nd::set_workspace_root(root);
    nd::RepairNotes notes;
    int rep = nd::repair_workspace(&notes, nd::RepairMode::kRepair);
    bool ran = repair_pass_ran(cmd, rep, root);
    int r = ran ? nd::load_workspace(&notes) : nd::kLoadNoRoot;
    nd::close_workspace_settings(ws);
    print_notes(notes);
    if (!ran) return 1;
    bool failed = false;
    for (const nd::RepairNote& n : notes) failed = failed || n.outcome == nd::RepairNote::kFailed;
    if (failed) std::fprintf(stderr, "nodrel-tool %s: some repairs could not be written\n", cmd);
    if (r < 0) {
        tool::print_load_failure(cmd, r);
        return 1;
    }
    if (r == nd::kLoadNew) std::printf("no group table named a group: a new workspace was made\n");
    print_counts();
    return failed ? 1 : 0;
}

// The argument check and repair share: a ".wk" path that exists. 2 for a
// path that is no ".wk" path, 1 for one that does not exist, else 0.
int workspace_argument(const char* cmd, const char* wk, std::string& root) {
    if (!tool::workspace_root_of(cmd, wk, root)) return 2;
    if (!nd::file_exists(wk)) {
        std::fprintf(stderr, "nodrel-tool %s: %s does not exist\n", cmd, wk);
        return 1;
    }
    return 0;
}

int run_check(int argc, char** argv) {
    bool repair = argc == 3 && !std::strcmp(argv[2], "--repair");
    if (argc != 2 && !repair) {
        std::fprintf(stderr, "usage: nodrel-tool check PATH.wk [--repair]\n");
        return 2;
    }
    std::string root;
    if (int bad = workspace_argument("check", argv[1], root)) return bad;
    return repair ? check_and_repair("check", argv[1], root) : check_only(argv[1], root);
}

int run_repair(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nodrel-tool repair PATH.wk\n");
        return 2;
    }
    std::string root;
    if (int bad = workspace_argument("repair", argv[1], root)) return bad;
    return check_and_repair("repair", argv[1], root);
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

int run_dump(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nodrel-tool dump PATH.wk\n");
        return 2;
    }
    // A dump only reads: no lock, no repair, and nothing written.
    std::string root;
    if (int status = tool::load_read_only("dump", argv[1], &root)) {
        if (status == 1) std::fprintf(stderr, "  (nodrel-tool check --repair mends what it can)\n");
        return status;
    }
    const nd::GroupTable& gt = nd::Tables.groups;
    for (int g = 0; g < nd::kGroupSlots; ++g) {
        const nd::GroupBoards* gb = nd::Tables.group_boards[g].get();
        if (!gb) continue;
        std::printf("group %d \"%s\" key=%s file=%s\n", g,
                    tool::field_utf8(gt.names[g], 32).c_str(), key_text(gt.keys[g]).c_str(),
                    rel(root, nd::make_path(root, nd::kTypeGroup, gt.keys[g], 0)).c_str());
        for (int b = 0; b < nd::kBoardSlots; ++b) {
            const nd::Board* bd = nd::find_board(g, b);
            if (!bd) continue;
            std::printf(
                "  board %d.%d \"%s\" key=%s file=%s cases=%u\n", g, b,
                tool::field_utf8(bd->name, sizeof bd->name).c_str(), key_text(bd->key).c_str(),
                rel(root, nd::make_path(root, bd->key.type, bd->key, 0)).c_str(), bd->case_count);
            for (int s = 0; s < nd::kCaseSlots; ++s) {
                const nd::CaseRecord* c = nd::find_case(g, b, s);
                if (!c) continue;
                std::printf("    case %d.%d.%d #%u \"%s\" key=%s file=%s\n", g, b, s,
                            unsigned{bd->cases[s].ordinal},
                            tool::field_utf8(c->title, sizeof c->title).c_str(),
                            key_text(c->key).c_str(),
                            rel(root, nd::make_path(root, c->key.type, c->key, 0)).c_str());
            }
        }
    }
    return 0;
}

const tool::Registration new_command({"new", "new PATH.wk", run_new});
const tool::Registration check_command({"check", "check PATH.wk [--repair]", run_check});
const tool::Registration repair_command({"repair", "repair PATH.wk", run_repair});
const tool::Registration dump_command({"dump", "dump PATH.wk", run_dump});

}  // namespace
