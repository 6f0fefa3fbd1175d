// The main view's life and the steps the frame driver runs on it.
#include "board/main_view.h"

#include <cstdio>

#include "board/about_page.h"
#include "board/frame.h"
#include "board/keyboard.h"
#include "board/menu.h"
#include "board/pointer.h"
#include "board/top_bar.h"
#include "board/window_mgmt.h"
#include "gfx/window/window.h"
#include "session/requests.h"
#include "session/workspace.h"
#include "skins/palette.h"
#include "skins/skin.h"

namespace nd {

namespace {

// Leaving puts the workspace's view fields back to their resting values and
// keeps the board shown, so the next opening starts there.
void destroy(MainViewState* view, App&) {
    WorkspaceSettings& ws = open_workspace_settings();
    if (ws.file >= 0) {
        ws.record.value28 = 0;
        ws.record.value32 = 6;
        ws.record.value36 = 0;
        ws.record.value40 = 0;
        // The program is ending; a log line is all that can still be said.
        if (save_open_workspace() != 0) {
            std::fprintf(stderr, "nodrel: %s cannot be written\n", ws.path.c_str());
        }
    }
    clear_requests();
    free_menu(*view);
    free_top_bar(*view);
    delete view;
}

void exercise(MainViewState*, App&) {}

// Requests from panels are carried out here, once a frame.
bool process_pending(MainViewState* view, App&) {
    BoardRequest request;
    while (take_request(&request)) {
    }
    return view->quit_requested;
}

void input(MainViewState* view, App&) {
    keyboard_step(*view);
    pointer_step(*view);
}

bool draw(MainViewState* view, App&) {
    return compose_frame(*view);
}

void deferred_resize(MainViewState* view, App&) {
    finish_deferred_resize(*view);
}

void layout(MainViewState* view, App& app, int width, int height) {
    view->width = width;
    view->height = height;
    view->canvas = app.Canvas ? app.Canvas : gfx::screen_page();
    gfx::set_bk_mode(gfx::kTransparent, view->canvas);
    gfx::set_bk_color(palette_color(kPalPageBackground, current_skin()), view->canvas);
    top_bar_layout(*view);
    request_redraw(*view);
}

bool autosave(MainViewState*, App&) {
    return false;
}

constexpr MainViewSteps kSteps = {
    .exercise = exercise,
    .process_pending = process_pending,
    .input = input,
    .draw = draw,
    .deferred_resize = deferred_resize,
    .layout = layout,
    .autosave = autosave,
    .destroy = destroy,
};

}  // namespace

MainViewState* create_main_view(App& app) {
    auto* view = new MainViewState();
    view->app = &app;
    layout(view, app, app.WindowWidth, app.WindowHeight);
    install_about_page(*view);
    return view;
}

const MainViewSteps& board_view_steps() {
    return kSteps;
}

void request_redraw(MainView& view) {
    view.dirty = true;
}

}  // namespace nd
