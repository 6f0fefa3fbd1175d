// What every view of the open workspace shares: the current group and board,
// the selected Case, and the floating panels with which of them are open.
// The board changes it; content and analysis panels read it. Main thread
// only.
#pragma once

#include <cstdint>

#include "store/records.h"
#include "ui/panel.h"

namespace nd {

// The panels' ids, which are their hit codes on the board.
enum PanelId : int {
    kPanelAbout = 1,
    kPanelUpdateNote = 2,
    kPanelColourSwitches = 3,
    kPanelSearch = 4,
    kPanelLeftBar = 5,
    kPanelTimeline = 6,
    kPanelAssessment = 7,
    kPanelListView = 8,
    kPanelContentEditor = 9,
};

// A Case as the views hold on to it: where it is, and which Case it is. A
// slot can come to hold another Case; the key tells them apart.
struct CaseRef {
    LocationRef where{0, -1, -1, -1};
    RecordKey key{};
};

// True when `ref` names a slot at all (not necessarily a live Case).
constexpr bool case_ref_set(const CaseRef& ref) {
    return ref.where.group >= 0 && ref.where.board >= 0 && ref.where.slot >= 0;
}

struct ViewState {
    int32_t group = 0;  // the current group
    int32_t board = 0;  // the current board of that group
    CaseRef selected;   // the selected Case (the board's top card), or none
    ui::PanelList panels;
    // Set by a panel whose look changed without input reaching it (an
    // animation, a worker's result): the board composes the next frame.
    // An idle board composes nothing.
    bool redraw = false;
};

ViewState& view_state();

// Whether panel `id` is in the list and shown.
bool panel_open(int id);

}  // namespace nd
