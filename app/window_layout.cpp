#include "app/window_layout.h"

namespace nd {

WindowPlacement place_window(const gfx::Rect& area, int stored_width, int stored_height) {
    WindowPlacement p;
    if (stored_width != 0 && stored_height != 0 &&
        !(area.w < stored_width || area.h < stored_height)) {
        p.width = stored_width;
        p.height = stored_height;
        // Centred in the work area itself: on desktops whose panel sits at
        // the top or left the work area does not start at (0,0).
        p.x = area.x + (area.w - stored_width) / 2;
        p.y = area.y + (area.h - stored_height) / 2;
        p.placed = true;
        return p;
    }
    p.width = area.w;
    p.height = area.h;
    p.x = area.x;
    p.y = area.y;
    p.store_size = true;
    return p;
}

}  // namespace nd
