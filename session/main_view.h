// The seam between the shell and the main view. The shell (app/) makes the
// view once a workspace is open and runs it frame by frame through these
// steps; the board (board/) fills them. Neither side reaches into the
// other's files, and a test can run the real frame loop with one step of its
// own in place of the board's.
#pragma once

namespace nd {

struct App;
struct MainViewState;

struct MainViewSteps {
    // One step of the "-test" exerciser, run each frame in test mode.
    void (*exercise)(MainViewState* view, App& app) = nullptr;
    // Pending data work (results of board loads and switches, requests from
    // panels). True when the board asks the program to quit.
    bool (*process_pending)(MainViewState* view, App& app) = nullptr;
    // The hot keys and the board's pointer input; run only once the current
    // board is fully loaded.
    void (*input)(MainViewState* view, App& app) = nullptr;
    // Draws the whole window onto the screen page. True when the close
    // button was used.
    bool (*draw)(MainViewState* view, App& app) = nullptr;
    // Carries out a resize the view deferred (for example while the size
    // dialog was open), storing the new size with the workspace.
    void (*deferred_resize)(MainViewState* view, App& app) = nullptr;
    // Lays the view out for a new window size and paints the canvas
    // background.
    void (*layout)(MainViewState* view, App& app, int width, int height) = nullptr;
    // Called by the autosave thread once a second under StorageLock: saves
    // the cards of the current board that were moved. False while there is
    // no fully loaded current board, so the thread asks again a second later.
    bool (*autosave)(MainViewState* view, App& app) = nullptr;
    // Saves what the view shows and frees it. The caller has already taken
    // it out of App::MainView under StorageLock.
    void (*destroy)(MainViewState* view, App& app) = nullptr;
};

}  // namespace nd
