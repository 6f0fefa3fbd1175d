// The main view's life and the steps the frame driver runs on it.
#include "board/main_view.h"

#include <cstdio>
#include <mutex>

#include "analysis/panels.h"
#include "board/about_page.h"
#include "board/board_switch.h"
#include "board/cards.h"
#include "board/case_window_board.h"
#include "board/colour_switches.h"
#include "board/exerciser.h"
#include "board/frame.h"
#include "board/keyboard.h"
#include "board/left_bar.h"
#include "board/menu.h"
#include "board/password.h"
#include "board/pointer.h"
#include "board/rename_dialog.h"
#include "board/sort_view.h"
#include "board/texts.h"
#include "board/top_bar.h"
#include "board/update_note.h"
#include "board/window_mgmt.h"
#include "content/case_window.h"
#include "content/save.h"
#include "gfx/window/window.h"
#include "session/progress.h"
#include "session/requests.h"
#include "session/workspace.h"
#include "skins/palette.h"
#include "skins/skin.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/locks.h"
#include "store/tables.h"

namespace nd {

namespace {

// The board a workspace opens on: the one it was left on, when it is still
// there, else the first of the first group.
int opening_board(int group) {
    const int stored = open_workspace_settings().record.last_board;
    if (stored >= 0 && stored < kBoardSlots && find_board(group, stored)) return stored;
    for (int b = 0; b < kBoardSlots; ++b) {
        if (find_board(group, b)) return b;
    }
    return 0;
}

// A workspace made by this run greets the user with a sticky note, centred
// where a jump puts a card.
void add_first_note(const MainView& view, int group, int board) {
    std::lock_guard<std::mutex> hold(StorageLock);
    RecordKey key = make_key(kAttrFragment);
    draw_fresh_serial(key);
    const LocationRef at = create_case(texts::kFirstNote, key, group, board);
    CaseRecord* record = at.flag == 0 ? find_case(group, board, at.slot) : nullptr;
    if (!record) {
        std::fprintf(stderr, "nodrel: the first sticky note cannot be written\n");
        return;
    }
    const Board* shown = find_board(group, board);
    record->x = view.width / 2 - 116 - (shown ? shown->view_x : 0);
    record->y = view.height / 2 - 50 - (shown ? shown->view_y : 0);
    record->byte140 = 2;
    record->value12 = 0;
    record->kind = kKindNone;
    if (save_case(0, group, board, at.slot) != 0) {
        std::fprintf(stderr, "nodrel: the first sticky note cannot be written\n");
    }
}

void set_canvas(MainView& view, gfx::IMAGE* canvas, int width, int height) {
    view.canvas = canvas;
    view.width = width;
    view.height = height;
    gfx::set_bk_mode(gfx::kTransparent, canvas);
    gfx::set_bk_color(palette_color(kPalPageBackground, current_skin()), canvas);
    top_bar_layout(view);
    place_analysis_panels(width, height);
    request_redraw(view);
}

MainViewState* new_view(App& app) {
    auto* view = new MainViewState();
    view->app = &app;
    view->slot_card.fill(-1);
    view->measure = gfx::new_image(1, 1);
    gfx::set_font(kTitleFontSize, 0, texts::kYaHei, view->measure);
    install_about_page(*view);
    install_update_note(*view);
    return view;
}

// Leaving saves the board shown, puts the workspace's view fields back to
// their resting values and keeps the board's index, so the next opening
// starts there.
void destroy(MainViewState* view, App&) {
    // The Case window writes the content that changed since the last save.
    content::close_case_window_at_exit();
    save_shown_board(*view);
    WorkspaceSettings& ws = open_workspace_settings();
    if (ws.file >= 0) {
        ws.record.value28 = 0;
        ws.record.value32 = 6;
        ws.record.value36 = 0;
        ws.record.value40 = 0;
        ws.record.last_board = view_state().board;
        // The program is ending; a log line is all that can still be said.
        if (save_open_workspace() != 0) {
            std::fprintf(stderr, "nodrel: %s cannot be written\n", ws.path.c_str());
        }
    }
    clear_requests();
    free_main_view(view);
}

void exercise(MainViewState* view, App&) {
    exercise_step(*view);
}

void carry_out(MainView& view, const BoardRequest& request) {
    switch (request.kind) {
        case RequestKind::kJumpToCase:
            jump_to_case(view, request.target);
            break;
        case RequestKind::kSwitchBoard:
            switch_board(view, request.target.where.group, request.target.where.board);
            break;
        case RequestKind::kContextMenu: {
            MenuTarget target;
            target.object = request.object;
            target.target = request.target;
            target.card = find_card(view, request.target);
            target.x = request.x;
            target.y = request.y;
            target.row = request.row;
            open_menu(view, target);
            break;
        }
        case RequestKind::kStartLink:
            start_link_gesture(view, request.target, request.x, request.y, request.object);
            break;
        case RequestKind::kRefreshPanels:
            refresh_analysis_panels(request.panels);
            if (request.panels == 0 || (request.panels & (1u << kPanelContentEditor)))
                content::case_window_refresh();
            if (request.panels == 0 || (request.panels & (1u << kPanelLeftBar)) != 0) left_bar_refresh();
            request_redraw(view);
            break;
    }
}

// What the release check learnt, then the worker's result; requests wait
// while a board loads, since most of them act on its cards.
bool process_pending(MainViewState* view, App& app) {
    follow_release_news(*view, release_news());
    if (switch_take_result(*view)) left_bar_refresh();
    dialog_tick(*view);
    step_analysis_panels();
    // While the screen is locked the requests wait: nothing of the board
    // may open or move behind the lock.
    if (!board_loading(*view) && !screen_locked(*view)) {
        BoardRequest request;
        while (take_request(&request)) carry_out(*view, request);
        take_drops(*view);
    }
    // While a dialog holds the keys the editor's caret stays in its off
    // phase.
    content::case_window_step(dialog_is_open(*view) ? 1 : app.BlinkPhase.load());
    rename_dialog_step(*view);
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
    set_canvas(*view, app.Canvas ? app.Canvas : gfx::screen_page(), width, height);
    left_bar_place(*view);
    // The origin stays inside the board at the new size.
    set_origin(*view, view->origin_x, view->origin_y);
    // The unlock line is centred in the window, so it follows the new size.
    if (screen_locked(*view)) lock_view(*view);
}

// On the autosave thread, under StorageLock: the moved cards of a fully
// loaded board are written, record and content.
bool autosave(MainViewState* view, App&) {
    if (!board_ready() || view->moves_group < 0) return false;
    if (content::save_changed_contents_locked() < 0)
        std::fprintf(stderr, "nodrel: a changed Case cannot be saved; it is tried again\n");
    for (int slot = 0; slot < kCaseSlots; ++slot) {
        PendingMove& move = view->moves[static_cast<size_t>(slot)];
        if (!move.pending) continue;
        move.pending = false;
        CaseRecord* record = find_case(view->moves_group, view->moves_board, slot);
        if (!record) continue;
        record->x = move.board_x;
        record->y = move.board_y;
        if (save_case(2, view->moves_group, view->moves_board, slot) != 0) {
            std::fprintf(stderr, "nodrel: a moved Case cannot be saved\n");
        }
    }
    return true;
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
    MainViewState* view = new_view(app);
    content::set_case_window_folders(Tables.root, app.TempDir);
    view->on_screen = true;
    // The program's view has the analysis panels; a picture of a board
    // shows the board alone.
    install_analysis_panels(app.WindowWidth, app.WindowHeight);
    set_canvas(*view, app.Canvas ? app.Canvas : gfx::screen_page(), app.WindowWidth,
               app.WindowHeight);
    const int group = 0;
    const int board = opening_board(group);
    if (workspace_created_this_run() && find_board(group, board)) add_first_note(*view, group, board);
    show_board(*view, group, board);
    // The program's own view shows the left bar from the start; pictures of
    // a board show the board alone.
    install_left_bar(*view);
    // A workspace with a password opens locked.
    if (open_workspace_settings().record.password[0] != 0) lock_view(*view);
    return view;
}

MainViewState* create_picture_view(App& app, gfx::IMAGE* canvas, int group, int board) {
    MainViewState* view = new_view(app);
    set_canvas(*view, canvas, gfx::image_width(canvas), gfx::image_height(canvas));
    show_board(*view, group, board);
    return view;
}

void free_main_view(MainViewState* view) {
    close_dialog(*view);
    if (left_bar_state().view == view) {
        free_left_bar(left_bar_state());
        left_bar_state().view = nullptr;
        free_colour_switches();
    }
    if (sort_view_state().view == view) free_sort_view();
    free_menu(*view);
    free_top_bar(*view);
    free_update_note();
    free_board_pictures(&view->pictures);
    gfx::delete_image(view->measure);
    delete view;
}

const MainViewSteps& board_view_steps() {
    return kSteps;
}

void request_redraw(MainView& view) {
    view.dirty = true;
}

}  // namespace nd
