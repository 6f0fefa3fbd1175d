// The search panel (panel 4): an input box, the search and history buttons,
// the scope box with its two-entry list, the five recent queries, the
// result count and the result list. Ctrl+F shows and hides it; a click on a
// result asks the board to jump to that Case (switching boards on the
// board's worker when it lies on another).
//
// The panel keeps its state here; the board routes pointer, wheel and keys
// to it through its PanelHooks and steps it once a frame.
#pragma once

#include "analysis/case_icons.h"
#include "analysis/search.h"
#include "analysis/search_draw.h"
#include "gfx/gfx.h"
#include "session/view_state.h"
#include "ui/button.h"
#include "ui/dialog_frame.h"
#include "ui/text_field.h"

namespace nd {

inline constexpr int kSearchPanelWidth = 250;
inline constexpr int kSearchPanelHeight = 420;
inline constexpr int kSearchPanelMinHeight = 300;
inline constexpr int kSearchListRow = 24;  // rows of the scope and history lists

// Where the panel's parts are for a panel at `panel`.
struct SearchLayout {
    gfx::Rect title;    // the drag area that moves the panel
    gfx::Rect input;    // the query box
    gfx::Rect go;       // the search button
    gfx::Rect history;  // the button that opens the recent queries
    gfx::Rect scope;    // "范围：…"; a click opens the two-entry list under it
    gfx::Rect caption;  // "%d 个结果"
    ResultListView list;
    gfx::Rect resize;        // the lower edge, dragged to resize
    gfx::Rect scope_list;    // the open scope list: two rows under the scope box
    gfx::Rect history_list;  // the open history list: one row per entry under the box
};
SearchLayout search_layout(const gfx::Rect& panel, int history_count);

enum class SearchDrag { kNone, kMove, kResize, kThumb, kRow };

struct SearchPanelState {
    SearchState search;
    ui::TextField field;
    ui::DialogFrame frame;
    ui::Button go;
    ui::Button history_button;
    bool scope_open = false;
    bool history_open = false;
    bool searched = false;  // the count caption shows once a search ran
    SearchDrag drag = SearchDrag::kNone;
    int grab_x = 0;  // the pointer's offset from the panel (or thumb) at the press
    int grab_y = 0;
    int pressed_row = -1;
    int paste_ticket = 0;  // a clipboard read under way, or 0
    int blink_phase = -1;  // the caret's phase the panel was last drawn with
    CaseIcons icons;
};

// The panel's state (one panel per program).
SearchPanelState& search_panel_state();

// Adds the panel to the panel list, hidden.
void install_search_panel();
// Ctrl+F: opens the panel (current-board scope, empty query) at its place
// in a `view_width` x `view_height` window, in front of the others; closes
// it when it is open.
void toggle_search_panel(int view_width, int view_height);
// Keeps the panel inside a window of the new size.
void place_search_panel(int view_width, int view_height);
// Once a frame: takes a pasted text that has arrived and follows the
// caret's blink.
void step_search_panel();

// The result row under (x, y) and its Case, for a link gesture that ends
// or starts there; false when there is none.
bool search_result_at(int x, int y, CaseRef* ref, int* row);

}  // namespace nd
