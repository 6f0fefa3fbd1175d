// The link gesture's seam: while a link is being drawn from one object to
// another, the board cancels it on a right press, completes it on a left
// release and draws its rubber line last in the frame. The gesture itself
// (starting, resolving the target, adding or removing the link) comes with
// the links.
#pragma once

#include "gfx/gfx.h"
#include "session/view_state.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

inline constexpr int kLinkIdle = -1;

struct LinkGesture {
    int state = kLinkIdle;  // -1 idle, else the source's origin (1 card ... 6 assessment entry)
    CaseRef source;
    int start_x = 0;
    int start_y = 0;
};

bool link_gesture_active(const MainView& view);
// Starts the gesture from `source` with the rubber line at (x, y) (a
// panel's request; the menu command starts it from a card).
void start_link_gesture(MainView& view, const CaseRef& source, int x, int y);
void cancel_link_gesture(MainView& view);
// A left release while the gesture runs: link to (or unlink from) the object
// under (x, y), then idle.
void complete_link_gesture(MainView& view, int x, int y);
void draw_rubber_line(const MainView& view, gfx::IMAGE* canvas);

}  // namespace nd
