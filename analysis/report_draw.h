// Drawing a laid-out report page into a view of the report window, and the
// icons it places. Drawing reads the report and the layout only.
#pragma once

#include "analysis/report.h"
#include "analysis/report_layout.h"
#include "gfx/gfx.h"

namespace nd {

// Where the page goes: a rectangle of the canvas, the page scrolled by
// `scroll_y` pixels inside it, and the skin (0..3) whose colours it takes.
struct ReportView {
    int left, top, width, height;
    int scroll_y;
    int skin;
};

// What the pointer is over: indexes into the layout's names and bubbles.
struct ReportHover {
    int name = -1;
    int bubble = -1;
};

inline constexpr uint32_t kBubbleHoverBox = 0xFF3C6B9F;
inline constexpr int kBubbleHoverSize = 13;

// Clears the view to the panel background and draws the page: its items,
// the dotted underline of the pointed name, and the marked bubble with its
// box "%s(%.1f)" beside it.
void draw_report_page(const Report& report, const PageLayout& layout, const ReportView& view,
                      const ReportHover& hover, const CaseIcons& icons, gfx::IMAGE* canvas);

}  // namespace nd
