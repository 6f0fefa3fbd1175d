#include "board/link_gesture.h"

#include "board/main_view.h"

namespace nd {

bool link_gesture_active(const MainView& view) {
    return view.link.state != kLinkIdle;
}

void cancel_link_gesture(MainView& view) {
    view.link = LinkGesture{};
}

// Links are made by a later feature; until then a release only ends the
// gesture.
void complete_link_gesture(MainView& view, int, int) {
    cancel_link_gesture(view);
}

void draw_rubber_line(const MainView&, gfx::IMAGE*) {}

}  // namespace nd
