// The clipboard on the X11 CLIPBOARD selection. Internal to the window layer.
#pragma once

#include <memory>

#include "gfx/window/clipboard_backend.h"

namespace gfx::clip {

// Opens a connection of its own to the display named by DISPLAY and starts
// the clipboard's thread; nullptr when there is no display.
std::unique_ptr<Backend> open_x11_backend();

}  // namespace gfx::clip
