// nodrel: start-up, the main loop and exit.
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "app/frame_driver.h"
#include "app/shutdown.h"
#include "app/signals.h"
#include "app/startup.h"
#include "app/window_layout.h"
#include "app/workers.h"
#include "app/workspace_entry.h"
#include "board/main_view.h"
#include "gfx/window/window.h"
#include "session/app.h"
#include "session/workspace.h"
#include "skins/palette.h"
#include "skins/skin.h"
#include "store/locks.h"

namespace nd {
namespace {

// Opens the main window at the stored size when it fits the work area, else
// at the work-area size, and shows one frame of the page background.
int open_main_window(App& app) {
    const gfx::Rect area = gfx::work_area();
    int stored_width = 0;
    int stored_height = 0;
    if (!stored_window_size(&stored_width, &stored_height)) {
        stored_width = 0;
        stored_height = 0;
    }
    const WindowPlacement place = place_window(area, stored_width, stored_height);
    if (place.store_size && store_window_size(place.width, place.height) != 0) {
        std::fprintf(stderr, "nodrel: %s cannot be written\n",
                     open_workspace_settings().path.c_str());
    }
    app.WindowWidth = place.width;
    app.WindowHeight = place.height;
    app.WindowX = place.x;
    app.WindowY = place.y;
    app.WindowPlaced = place.placed ? 1 : 0;

    if (gfx::open_window(
            place.width, place.height,
            gfx::kWindowBorderless | gfx::kWindowManualRefresh | gfx::kWindowNoForcedExit) != 0) {
        return -1;
    }
    gfx::move_window(place.x, place.y, false);
    gfx::set_bk_mode(gfx::kTransparent);
    gfx::set_bk_color(palette_color(kPalPageBackground, current_skin()));
    gfx::clear_image();
    gfx::frame_wait(240);
    return 0;
}

int run(int argc, char** argv) {
    App& app = the_app();
    install_stop_signals();
    gfx::set_display_lost_hook(save_when_display_lost);
    // Without a display there is nothing the program can do; it stops before
    // touching any file.
    if (gfx::headless()) {
        std::fprintf(stderr, "nodrel: no display to show the window on (is DISPLAY set?)\n");
        return 1;
    }

    std::string reason;
    if (start_up(app, argc, argv, &reason) != 0) {
        std::fprintf(stderr, "nodrel: %s\n", reason.c_str());
        return 1;
    }
    // Sockets need no library start-up here, so nothing can fail between
    // the paths and the settings.
    if (enter_workspace(app) != 0) return 0;

    if (open_main_window(app) != 0) {
        std::fprintf(stderr, "nodrel: the window cannot be opened\n");
        return 1;
    }
    app.View = &board_view_steps();
    MainViewState* view = create_main_view(app);
    {
        std::lock_guard<std::mutex> lock(StorageLock);
        app.MainView = view;
    }
    start_autosave_thread(app);
    run_main_loop(app);
    return shut_down(app, std::vector<std::string>(argv + 1, argv + argc));
}

}  // namespace
}  // namespace nd

int main(int argc, char** argv) {
    return nd::run(argc, argv);
}
