#include "app/shutdown.h"

#include <mutex>
#include <string>

#include "base/process.h"
#include "gfx/window/window.h"
#include "session/main_view.h"
#include "session/workspace.h"
#include "store/locks.h"

namespace nd {

int run_updater(const char* program_dir) {
    Spawned updater;
    if (spawn_process(std::string(program_dir) + "/update", {}, SpawnOptions{}, &updater) != 0) {
        return -1;
    }
    wait_process(updater.pid);
    return 0;
}

int shut_down(App& app) {
    gfx::close_window();
    MainViewState* view = nullptr;
    {
        // The autosave thread uses the view under this lock; once it is out
        // of the record the thread leaves it alone.
        std::lock_guard<std::mutex> lock(StorageLock);
        view = app.MainView;
        app.MainView = nullptr;
    }
    if (view) app.View->destroy(view, app);
    if (app.RunState.load() == kQuitAndUpdate) {
        release_open_workspace();
        // A missing or broken updater is not reported: the program simply
        // ends as it would have anyway.
        static_cast<void>(run_updater(app.ProgramDir));
    }
    return 0;
}

}  // namespace nd
