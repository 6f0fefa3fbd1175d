// What the board does with the analysis panels as a whole: adds them to the
// panel list, lays them out for the window, steps them once a frame,
// refreshes them after a command changed a Case, and asks them for the
// Case under the pointer when a link starts or ends over one of them.
#pragma once

#include <cstdint>

#include "session/view_state.h"

namespace nd {

// The search panel, the timeline strip and the report window, hidden.
void install_analysis_panels(int view_width, int view_height);
// The window is now `view_width` x `view_height`.
void place_analysis_panels(int view_width, int view_height);
// Once a frame: pasted text, the caret's blink, the strip's scroll and pulse.
void step_analysis_panels();
// A kRefreshPanels request for the panels in `panels` (0: every panel).
void refresh_analysis_panels(uint32_t panels);

// The Case an analysis panel shows under (x, y) — a search result, a
// timeline entry, a report name or bubble — and the point a link drawn from
// it starts at. False when panel `id` has none there.
bool analysis_case_at(int id, int x, int y, CaseRef* ref, int* anchor_x, int* anchor_y);
// Ctrl+Alt over an analysis panel: posts a kStartLink request from the Case
// under (x, y). False when there is none (nothing is posted).
bool post_link_start_at(int id, int x, int y);

}  // namespace nd
