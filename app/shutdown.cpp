#include "app/shutdown.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "app/restart.h"
#include "base/process.h"
#include "gfx/window/window.h"
#include "session/main_view.h"
#include "session/workspace.h"
#include "settings/settings.h"
#include "store/locks.h"
#include "store/tables.h"
#include "update/products.h"

namespace nd {

namespace {

// After the view has saved: every file and lock the workspace holds goes,
// the .wk file with its in-use lock first, so the updater (or anyone else)
// finds the workspace free.
void release_workspace_files() {
    release_open_workspace();
    std::lock_guard<std::mutex> lock(StorageLock);
    clear_tables();
}

// The updater's turn: it runs while this process waits, and when it has put
// a new program file in place, that program comes back in this process.
void update_and_come_back(const App& app, const std::vector<std::string>& args) {
    const std::string program =
        std::string(app.ProgramDir) + "/" + find_product(kProductCode)->program_name;
    const FileIdentity before = identify_file(program);
    // A missing or broken updater is not reported: the program simply ends
    // as it would have anyway.
    if (run_updater(app.ProgramDir) != 0) return;
    if (!program_replaced(before, identify_file(program))) return;
    std::string reason;
    if (restart_program(program, args, &reason) != 0) {
        std::fprintf(stderr, "nodrel: the updated program cannot be started: %s\n", reason.c_str());
    }
}

// The main view saves what it shows and goes.
void save_main_view(App& app) {
    MainViewState* view = nullptr;
    {
        // The autosave thread uses the view under this lock; once it is out
        // of the record the thread leaves it alone.
        std::lock_guard<std::mutex> lock(StorageLock);
        view = app.MainView;
        app.MainView = nullptr;
    }
    if (view) app.View->destroy(view, app);
}

}  // namespace

int save_when_display_lost() {
    App& app = the_app();
    // The process ends right after, and its locks with it.
    save_main_view(app);
    return 0;
}

int run_updater(const char* program_dir) {
    Spawned updater;
    if (spawn_process(std::string(program_dir) + "/update", {}, SpawnOptions{}, &updater) != 0) {
        return -1;
    }
    wait_process(updater.pid);
    return 0;
}

int shut_down(App& app, const std::vector<std::string>& args) {
    gfx::close_window();
    save_main_view(app);
    if (app.RunState.load() == kQuitAndUpdate) {
        release_workspace_files();
        update_and_come_back(app, args);
    }
    return 0;
}

}  // namespace nd
