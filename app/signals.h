// SIGTERM (the desktop session ending) and SIGINT (a terminal) are close
// requests: the frame loop ends and the normal exit path saves and returns 0.
#pragma once

namespace nd {

void install_stop_signals();

}  // namespace nd
