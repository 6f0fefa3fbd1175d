#include "board/pointer.h"

#include "board/main_view.h"

namespace nd {

int hit_test(const MainView&, int, int) {
    return -1;
}

void pointer_step(MainView& view) {
    while (gfx::mouse_pending()) pointer_message(view, gfx::get_mouse(), gfx::tick_ms());
}

void pointer_message(MainView&, const gfx::MouseMsg&, uint64_t) {}

}  // namespace nd
