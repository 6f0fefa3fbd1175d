#include "app/startup.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/file_io.h"
#include "base/park_miller.h"
#include "base/temp_folder.h"
#include "gfx/window/window.h"

namespace nd {

namespace {

constexpr const char* kTempFolder = "{0319-0407-0119-0418-dc85ec87209e}";
constexpr const char* kScratchName = "{0407-0319-nd20101120e9}";

bool fill_path(char (&field)[kPathSize], const char* dir, const char* name) {
    int n = std::snprintf(field, kPathSize, "%s/%s", dir, name);
    return n >= 0 && n < kPathSize;
}

}  // namespace

void read_command_line(App& app, int argc, char** argv) {
    if (argc < 2 || !argv[1]) return;
    if (std::strcmp(argv[1], "-test") == 0) {
        app.TestMode = 1;
        app.ActiveFps = 30;
    }
}

int fix_paths(App& app, std::string* reason) {
    if (!getcwd(app.ProgramDir, kPathSize)) {
        *reason = std::string("cannot use the current directory as the program directory: ") +
                  std::strerror(errno);
        app.ProgramDir[0] = 0;
        return -1;
    }
    if (!fill_path(app.WorkspacesDir, app.ProgramDir, "workspace") ||
        !fill_path(app.TableCfgPath, app.ProgramDir, "table.cfg") ||
        !fill_path(app.ConfigCfgPath, app.ProgramDir, "config.cfg")) {
        *reason = std::string("the program directory path is too long: ") + app.ProgramDir;
        return -1;
    }
    return 0;
}

int prepare_temp_dir(App& app, std::string* reason) {
    std::string folder;
    if (make_temp_folder(kTempFolder, &folder, reason) != 0) return -1;
    app.TempDir = folder;
    app.ScratchPath = folder + kScratchName;
    return 0;
}

int start_up(App& app, int argc, char** argv, std::string* reason) {
    app.MaxBoardsPerGroup = 80;
    app.MaxCasesPerBoard = 80;
    app.MaxLinksPerCase = 70;
    read_command_line(app, argc, argv);
    if (fix_paths(app, reason) != 0) return -1;

    // Without the temporary folder or the workspaces directory the program
    // still runs; the features that need them report their own failures.
    std::string warning;
    if (prepare_temp_dir(app, &warning) != 0) {
        std::fprintf(stderr, "nodrel: %s\n", warning.c_str());
    }
    if (!make_dir(app.WorkspacesDir)) {
        std::fprintf(stderr, "nodrel: cannot create %s: %s\n", app.WorkspacesDir,
                     last_io_error().c_str());
    }
    seed_random(static_cast<uint32_t>(gfx::tick_ms()));
    return 0;
}

}  // namespace nd
