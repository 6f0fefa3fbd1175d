// The main view: the board with its cards, links and floating panels, which
// the frame driver runs one step at a time. The program owns exactly one,
// made once a workspace is open and destroyed at exit.
#pragma once

#include "session/app.h"
#include "session/main_view.h"

namespace nd {

// Builds the view for the open workspace at the window size in `app`.
MainViewState* create_main_view(App& app);

// The board's steps for App::View (what each does: session/main_view.h).
const MainViewSteps& board_view_steps();

}  // namespace nd
