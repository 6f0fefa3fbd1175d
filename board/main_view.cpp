// The main view before there are boards: an empty board canvas in the page
// background colour of the skin. It drains the input queues so that idle
// frames are recognised as idle, and paints only when the window size
// changed, which keeps an idle window nearly free.
#include "board/main_view.h"

#include <cstdio>

#include "gfx/window/window.h"
#include "session/requests.h"
#include "session/workspace.h"
#include "skins/palette.h"
#include "skins/skin.h"

namespace nd {

struct MainViewState {
    int painted_width = 0;
    int painted_height = 0;
};

namespace {

// The skin comes with the open workspace's settings.
gfx::Color background() {
    return palette_color(kPalPageBackground, current_skin());
}

// Leaving puts the workspace's view fields back to their resting values and
// keeps the board shown, so the next opening starts there. An empty board
// shows the board the workspace was opened on.
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
    delete view;
}

// An empty board has no cards to click and no boards to switch to.
void exercise(MainViewState*, App&) {}

// Requests from panels are carried out here, once a frame. The empty board
// has no Case to jump to, no other board, no menu and no panel yet, so each
// request is taken and dropped.
bool process_pending(MainViewState*, App&) {
    BoardRequest request;
    while (take_request(&request)) {
    }
    return false;
}

void input(MainViewState*, App&) {
    while (gfx::mouse_pending()) gfx::get_mouse();
    while (gfx::key_pending() > 0) gfx::get_key();
}

bool draw(MainViewState* view, App&) {
    int width = gfx::image_width(gfx::screen_page());
    int height = gfx::image_height(gfx::screen_page());
    if (width == view->painted_width && height == view->painted_height) return false;
    gfx::set_bk_color(background(), gfx::screen_page());
    gfx::clear_image(gfx::screen_page());
    view->painted_width = width;
    view->painted_height = height;
    return false;
}

void deferred_resize(MainViewState*, App&) {}

void layout(MainViewState* view, App& app, int, int) {
    if (app.Canvas) {
        gfx::set_bk_mode(gfx::kTransparent, app.Canvas);
        gfx::set_bk_color(background(), app.Canvas);
        gfx::clear_image(app.Canvas);
    }
    view->painted_width = 0;
    view->painted_height = 0;
}

// Nothing is loaded, so there is nothing to save.
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

MainViewState* create_main_view(App&) {
    return new MainViewState();
}

const MainViewSteps& board_view_steps() {
    return kSteps;
}

}  // namespace nd
