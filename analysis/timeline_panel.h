// The timeline strip as panel 6: 70 pixels tall across the window's bottom
// edge, hidden until the board first selects a Case. The board tells it
// which Case is selected and when the boards were shown afresh; the strip
// asks the board to jump when an entry is clicked and for an entry's menu on
// a right click.
#pragma once

#include "analysis/timeline.h"
#include "analysis/timeline_draw.h"
#include "session/view_state.h"

namespace nd {

struct TimelinePanelState {
    Timeline timeline;
    TimelinePictures pictures;
    int pressed = -1;      // the entry a left press fell on
    int pulse_phase = -1;  // the pulse thread's phase at the last step
};

TimelinePanelState& timeline_panel_state();

// Adds the strip to the panel list, hidden.
void install_timeline_panel();
// Lays the strip along the bottom of a `view_width` x `view_height` window.
void place_timeline_panel(int view_width, int view_height);
// The board's top card changed: the strip selects its Case and shows.
void timeline_panel_select(const CaseRef& ref);
// The boards were shown afresh (a board loaded, or it is empty): no entries,
// no selection, until the next selection.
void timeline_panel_clear();
// Cases changed (a command saved one): entries are rebuilt around the same
// selection, so icons and curves follow.
void timeline_panel_refresh();
// Once a frame: a running wheel scroll and the pulse of key nodes advance.
void step_timeline_panel();

// The entry under (x, y) and its Case, with the point a link drawn from it
// starts at; false when there is none.
bool timeline_entry_case(int x, int y, CaseRef* ref, int* anchor_x, int* anchor_y);

}  // namespace nd
