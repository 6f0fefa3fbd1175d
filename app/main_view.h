// The main view: the board with its cards, links and floating panels, which
// the frame driver runs one step at a time. The program owns exactly one,
// made once a workspace is open and destroyed at exit.
#pragma once

#include "app/app_state.h"

namespace nd {

struct MainViewState;

// Builds the view for the open workspace at the window size in `app`.
MainViewState* create_main_view(App& app);
// Saves what the view shows and frees it. The caller has already taken it out
// of App::MainView under StorageLock.
void destroy_main_view(MainViewState* view, App& app);

// One step of the "-test" exerciser, run each frame in test mode.
void main_view_exercise(MainViewState* view, App& app);
// Pending data work (results of board loads and switches). True when the
// board asks the program to quit.
bool main_view_process_pending(MainViewState* view, App& app);
// The hot keys and the board's pointer input; run only once the current
// board is fully loaded.
void main_view_input(MainViewState* view, App& app);
// Draws the whole window onto the screen page. True when the close button
// was used.
bool main_view_draw(MainViewState* view, App& app);
// Carries out a resize the view deferred (for example while the size dialog
// was open), storing the new size with the workspace.
void main_view_deferred_resize(MainViewState* view, App& app);
// Lays the view out for a new window size and paints the canvas background.
void main_view_layout(MainViewState* view, App& app, int width, int height);
// Called by the autosave thread once a second under StorageLock: saves the
// cards of the current board that were moved. False while there is no fully
// loaded current board, so the thread asks again a second later.
bool main_view_autosave(MainViewState* view, App& app);

}  // namespace nd
