// nodrel-tool snapshots / restore: the daily snapshots nodrel keeps beside a
// workspace, listed with their Case counts, and one of them restored.
#include <cstdio>
#include <string>

#include "settings/settings.h"
#include "store/paths.h"
#include "store/snapshots.h"
#include "tools/nodrel-tool/command.h"

namespace {

int run_snapshots(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nodrel-tool snapshots PATH.wk\n");
        return 2;
    }
    std::string root;
    if (!tool::workspace_root_of("snapshots", argv[1], root)) return 2;
    std::vector<nd::SnapshotInfo> list = nd::list_snapshots(root);
    if (list.empty()) {
        std::printf("no snapshots in %s\n", nd::snapshots_dir(root).c_str());
        return 0;
    }
    for (const nd::SnapshotInfo& s : list) {
        if (s.cases < 0) {
            std::printf("%-18s unreadable\n", s.name.c_str());
        } else {
            std::printf("%-18s cases=%d\n", s.name.c_str(), s.cases);
        }
    }
    return 0;
}

int run_restore(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: nodrel-tool restore PATH.wk DATE\n");
        return 2;
    }
    std::string root;
    if (!tool::workspace_root_of("restore", argv[1], root)) return 2;
    // The in-use lock keeps the program out while the tree is swapped, and
    // refuses a workspace the program has open; nothing is written to the
    // settings file.
    nd::WorkspaceSettings ws;
    std::string reason;
    int st = nd::inspect_workspace_settings(ws, argv[1], &reason);
    if (st == nd::kWkInUse) {
        std::fprintf(stderr, "nodrel-tool restore: %s is open; close it first\n", argv[1]);
        return 1;
    }
    if (st == nd::kWkFailed) {
        std::fprintf(stderr, "nodrel-tool restore: %s\n", reason.c_str());
        return 1;
    }
    std::string kept;
    int r = nd::restore_snapshot(root, argv[2], &kept, &reason);
    nd::close_workspace_settings(ws);
    if (r != 0) {
        std::fprintf(stderr, "nodrel-tool restore: %s\n", reason.c_str());
        return 1;
    }
    if (!kept.empty())
        std::printf("the workspace as it was is kept as snapshot %s\n", kept.c_str());
    std::printf("restored %s from snapshot %s\n", argv[1], argv[2]);
    return 0;
}

const tool::Registration snapshots_command({"snapshots", "snapshots PATH.wk", run_snapshots});
const tool::Registration restore_command({"restore", "restore PATH.wk DATE", run_restore});

}  // namespace
