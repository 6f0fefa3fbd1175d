#include "board/link_gesture.h"

#include "board/main_view.h"

namespace nd {

bool link_gesture_active(const MainView& view) {
    return view.link.state != kLinkIdle;
}

void start_link_gesture(MainView& view, const CaseRef& source, int x, int y) {
    view.link.state = 1;
    view.link.source = source;
    view.link.start_x = x;
    view.link.start_y = y;
    request_redraw(view);
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
