#include "analysis/search_draw.h"

#include <algorithm>

#include "analysis/draw_kit.h"
#include "analysis/report.h"
#include "skins/palette.h"
#include "store/tables.h"

namespace nd {

namespace {

constexpr int kTitleSize = 12;

// Title, content and attachment matches in three colours that read on each
// skin's panel: the plain text colour, the link blue and an amber. [skin][kind]
constexpr uint32_t kKindColour[4][3] = {
    {0xFFE8E4C9, 0xFF7CBCEA, 0xFFE0B25A},
    {0xFF1A1A1A, 0xFF0066B4, 0xFFA8621C},
    {0xFFFCFCFC, 0xFF7CBCEA, 0xFFE0B25A},
    {0xFF1A1A1A, 0xFF0066B4, 0xFFA8621C},
};
// The hovered row: the skin's selection colour with text near black or
// near white as the colour needs.
constexpr uint32_t kHighlight[4] = {0xFF957E2C, 0xFFE4D0C9, 0xFF448AB8, 0xFFCCE4F7};
constexpr uint32_t kHighlightText[4] = {0xFFFCFCFC, 0xFF010101, 0xFFFCFCFC, 0xFF010101};

}  // namespace

int visible_result_rows(const ResultListView& view) {
    return std::max(1, view.height / kResultRowHeight);
}

int result_row_at(const SearchState& s, const ResultListView& view, int x, int y) {
    if (x < view.left || x >= view.left + kResultRowWidth || y < view.top ||
        y >= view.top + view.height)
        return -1;
    int row = s.first_visible + (y - view.top) / kResultRowHeight;
    return row < int(s.results.size()) ? row : -1;
}

ScrollThumb result_thumb(const SearchState& s, const ResultListView& view) {
    const int n = int(s.results.size()), rows = visible_result_rows(view);
    if (n <= rows) return {0, view.height};
    int height = int(int64_t(view.height) * rows / n);
    int top = int(int64_t(view.height) * s.first_visible / n);
    return {top, std::max(height, 4)};
}

void draw_result_list(const SearchState& s, const ResultListView& view, const CaseIcons& icons,
                      gfx::IMAGE* canvas) {
    draw_kit::ViewportScope clip(canvas, view.left, view.top,
                                 view.left + kResultRowWidth + kResultScrollBar,
                                 view.top + view.height);
    const int rows = visible_result_rows(view);
    for (int r = 0; r < rows + 1; ++r) {
        const int index = s.first_visible + r;
        if (index >= int(s.results.size())) break;
        const SearchResult& res = s.results[size_t(index)];
        const CaseRecord* rec = find_case(res.group, res.board, res.slot);
        if (!rec) continue;
        const int y = r * kResultRowHeight;
        uint32_t colour = kKindColour[view.skin][std::clamp(int(res.kind), 1, 3) - 1];
        if (index == s.hovered) {
            gfx::set_fill_color(kHighlight[view.skin], canvas);
            gfx::fill_bar(0, y, kResultRowWidth, y + kResultRowHeight, canvas);
            colour = kHighlightText[view.skin];
        }
        draw_kit::picture(canvas, icons[status_icon(rec->colour)], 8, y + 9);
        draw_kit::text(canvas, 26, y + 7, kTitleSize, colour, case_title(*rec).c_str());
    }
    ScrollThumb thumb = result_thumb(s, view);
    gfx::set_fill_color(palette_color(kPalOptionRule, view.skin), canvas);
    gfx::fill_bar(kResultRowWidth, 0, kResultRowWidth + kResultScrollBar, view.height, canvas);
    gfx::set_fill_color(palette_color(kPalOptionSelect, view.skin), canvas);
    gfx::fill_bar(kResultRowWidth + 2, thumb.top, kResultRowWidth + kResultScrollBar - 2,
                  thumb.top + thumb.height, canvas);
}

}  // namespace nd
