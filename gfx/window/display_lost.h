// When the X server goes away under the program (it ends, or its
// connection breaks), Xlib ends the process from inside whichever call
// noticed, and nothing after that call runs. The program says what must
// happen first: its hook runs once, on the thread that runs the window, and
// the process then ends with the status the hook returns. Internal to the
// window layer and its users through window.h.
#pragma once

namespace gfx {

// Installs the handler on the X connections of this process, for the
// calling thread as the window's thread. Called once the window's display
// is known to be X11.
void watch_display_loss();

}  // namespace gfx
