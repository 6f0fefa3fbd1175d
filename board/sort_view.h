// The sorting view "梳理": the list-view panel (8) for one Case, with the
// Case and every Case reachable from it through links, each once, in the
// column of its status. Its modes order the columns differently ("记忆"
// by the date of the last status change, newest first; "空间" by place on
// the board, top to bottom; "状态" in the order the links reach them) or
// take every Case of the Case's category ("全部").
#pragma once

#include <array>
#include <vector>

#include "board/commands.h"
#include "gfx/gfx.h"
#include "session/view_state.h"

namespace nd {

inline constexpr int kSortColumnStep = 252;
inline constexpr int kSortEntryStep = 30;
inline constexpr int kSortTitleBytes = 32;  // what a column has room for at 7 pixels a character

enum SortMode : int { kSortMemory, kSortSpace, kSortStatus, kSortAll, kSortModeCount };

struct SortEntry {
    CaseRef ref;
    int colour = 0;
    int32_t colour_date = 0;
    int board_x = 0;
    int board_y = 0;
    char title[kSortTitleBytes + 1] = {};
};

struct SortColumns {
    std::array<std::vector<SortEntry>, 4> columns;  // by status value
    int total() const;
};

// The Cases the view shows for `start` in `mode`: `start` first, then, for
// every mode but "全部", each Case reachable through links once, in the
// order a breadth-first walk reaches them; "全部" takes the Cases of
// start's whiteboard. False when `start` names no Case.
bool collect_sort_entries(const CaseRef& start, int mode, SortColumns* out);

struct SortViewState {
    MainView* view = nullptr;
    CaseRef shown;  // the Case the view was opened for
    char title[128] = {};
    int mode = kSortStatus;
    SortColumns columns;
    int scroll = 0;                    // pixels, shared by the columns
    int hover_column = -1;
    int hover_entry = -1;
    int selected_column = -1;
    int selected_entry = -1;
    int hover_button = -1;  // a mode button, or 4 the close button
    // The view drawn whole whenever its look changes; a frame only places
    // it, so a hundred entries cost a frame no more than one image.
    gfx::IMAGE* picture = nullptr;
};

SortViewState& sort_view_state();

// Opens (or re-opens) the view for the Case; command 21 ("梳理(S)...").
void open_sort_view(MainView& view, const CaseRef& ref);
void close_sort_view(MainView& view);
// The row menu at (x, y) on the view ("list view" rows); false elsewhere.
bool sort_view_menu_target(const MainView& view, int x, int y, MenuTarget* out);
// The panel's rectangle in a window of width x height.
gfx::Rect sort_view_rect(int width, int height);
// Where column c's entries start (the top of its first entry) and its x.
int sort_column_x(const gfx::Rect& panel, int column);
int sort_column_top(const gfx::Rect& panel);
// The mode buttons and the close button, on the screen.
gfx::Rect sort_button_rect(const gfx::Rect& panel, int button);

// Draws the view into its picture, at the panel's size.
void render_sort_view(SortViewState& s, const gfx::Rect& panel);
void draw_sort_view(const ui::Panel& panel, gfx::IMAGE* canvas);
// Frees the picture (the view is left).
void free_sort_view();

}  // namespace nd
