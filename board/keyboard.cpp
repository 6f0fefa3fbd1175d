#include "board/keyboard.h"

#include "board/main_view.h"
#include "gfx/window/window.h"

namespace nd {

// Keys are taken so that an idle frame is recognised as idle.
void keyboard_step(MainView&) {
    while (gfx::key_pending() > 0) gfx::get_key();
}

}  // namespace nd
