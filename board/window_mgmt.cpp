#include "board/window_mgmt.h"

#include "board/main_view.h"

namespace nd {

void toggle_maximise(MainView&) {}
void open_size_dialog(MainView&) {}
void keyboard_resize_step(MainView&) {}
void finish_deferred_resize(MainView&) {}

}  // namespace nd
