// "剩余显示": how many more categories, Cases on the board shown and links
// of the selected Case may still be made, shown in the top bar while the
// option is on, so a refused creation has its reason in view.
#pragma once

#include "gfx/gfx.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;
struct CaseRecord;

struct Remaining {
    int categories = 0;
    int cases = 0;
    int links = -1;  // -1 while no Case is selected
};

// max(0, 80 - categories of `group`), max(0, 80 - Cases of the board),
// and max(0, 70 - links of `selected`) when one is given.
Remaining remaining_counts(int group, int board, const CaseRecord* selected);

// The counts at the top bar's right, left of its menu button.
void draw_remaining(const MainView& view, gfx::IMAGE* canvas);

}  // namespace nd
