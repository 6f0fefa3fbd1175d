// Everything between the program's first preparations and its main window:
// the recent-workspace list, the program settings and the start page, until
// the user has opened or created a workspace (session/workspace.h keeps it).
#pragma once

#include "session/app.h"

namespace nd {

// Runs until a workspace is open (0) or the user left the start page (-1).
[[nodiscard]] int enter_workspace(App& app);

// Seconds during which a freshly opened workspace keeps its frame rate up:
// 20 once an update has been announced, else none.
inline constexpr int32_t kQuietAfterUpdate = 20;
int32_t quiet_countdown_start(const App& app);

}  // namespace nd
