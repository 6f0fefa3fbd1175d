// The search panel's result list: rows of status icon and title coloured by
// match kind, the hovered row highlighted, a scroll bar beside it. Drawing
// reads the search state only.
#pragma once

#include "analysis/case_icons.h"
#include "analysis/search.h"
#include "gfx/gfx.h"

namespace nd {

inline constexpr int kResultRowHeight = 30;
inline constexpr int kResultRowWidth = 210;
inline constexpr int kResultScrollBar = 10;

// The list's rectangle on the canvas (rows plus the scroll bar to their
// right) and the skin (0..3).
struct ResultListView {
    int left, top, height;
    int skin;
};

int visible_result_rows(const ResultListView& view);

// The result under (x, y), or -1.
int result_row_at(const SearchState& state, const ResultListView& view, int x, int y);

// The scroll-bar thumb: view height / (results / visible rows), never more
// than the view; its top follows the first visible row.
struct ScrollThumb {
    int top, height;
};
ScrollThumb result_thumb(const SearchState& state, const ResultListView& view);

void draw_result_list(const SearchState& state, const ResultListView& view, const CaseIcons& icons,
                      gfx::IMAGE* canvas);

}  // namespace nd
