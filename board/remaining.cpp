#include "board/remaining.h"

#include <algorithm>
#include <cstdio>

#include "board/command_case.h"
#include "board/main_view.h"
#include "board/options.h"
#include "board/top_bar_look.h"
#include "skins/palette.h"
#include "skins/skin.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/tables.h"

namespace nd {

Remaining remaining_counts(int group, int board, const CaseRecord* selected) {
    Remaining r;
    r.categories = std::max(0, kMaxBoards - live_board_count(group));
    const Board* shown = find_board(group, board);
    const int cases = shown ? int(std::min<uint32_t>(shown->case_count, kMaxCases)) : 0;
    r.cases = std::max(0, kMaxCases - cases);
    if (selected) r.links = std::max(0, kMaxLinks - link_count(*selected));
    return r;
}

void draw_remaining(const MainView& view, gfx::IMAGE* canvas) {
    if (!option_on(kOptionRemaining)) return;
    MenuTarget selected;
    selected.target = view_state().selected;
    const Remaining r =
        remaining_counts(view_state().group, view_state().board, command_case(selected));
    char text[48];
    if (r.links >= 0) {
        std::snprintf(text, sizeof text, "%d | %d | %d", r.categories, r.cases, r.links);
    } else {
        std::snprintf(text, sizeof text, "%d | %d", r.categories, r.cases);
    }
    const gfx::Rect menu = top_bar_places(view).rects[kTopMenu];
    gfx::set_font(kTopBarTextSize, 0, kTopBarFace, canvas);
    gfx::set_color(palette_color(kPalPanelTitle, current_skin()), canvas);
    const int width = gfx::text_width(text, canvas);
    gfx::text_out(menu.x - width - 12, menu.y + (menu.h - kTopBarTextSize) / 2 - 1, text, canvas);
}

}  // namespace nd
