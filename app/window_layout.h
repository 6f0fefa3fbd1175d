// Where the main window goes and how big it is, from the desktop work area
// and the size stored with the workspace.
#pragma once

#include "gfx/window/window.h"

namespace nd {

struct WindowPlacement {
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
    bool placed = false;      // false: the window goes to the work area's corner
    bool store_size = false;  // the size must be written back to the workspace settings
};

// A stored size of 0 in either direction means none was stored. A stored size
// that no longer fits the work area (a smaller screen) gives way to the work
// area; one that fits is centred in it.
WindowPlacement place_window(const gfx::Rect& area, int stored_width, int stored_height);

}  // namespace nd
