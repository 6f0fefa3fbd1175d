// The seven pages of the assessment report laid out as a list of drawing
// items in page coordinates (0, 0 at the page's top-left corner), with the
// names and bubbles the pointer can reach. The layout is made when a page is
// shown or the report's width changes; drawing (report_draw.h) and
// hit-testing only read it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/case_icons.h"
#include "analysis/report.h"

namespace nd {

inline constexpr int kReportPages = 7;

// Colours that follow the skin are named by role and resolved when drawn.
enum class Ink : uint8_t {
    kFixed,      // PageItem::argb
    kText,       // the panel's body text
    kTitle,      // the panel's title text
    kLine,       // the skin's line colour (grid rows, dotted links, axes)
    kStatusBar,  // the status bar colour of status PageItem::argb (0..3)
};

enum class ItemKind : uint8_t {
    kText,    // text at (x0, y0), top-left, `size` pixels high
    kFill,    // filled rectangle x0..x1 by y0..y1, right and bottom excluded
    kPixel,   // one pixel at (x0, y0)
    kLine,    // (x0, y0) to (x1, y1), `size` pixels thick, `style` a gfx::LineStyle
    kDisc,    // filled circle: centre (x0, y0), radius x1
    kCircle,  // outlined circle: centre (x0, y0), radius x1
    kIcon,    // picture `icon` with its top-left at (x0, y0)
};

struct PageItem {
    ItemKind kind;
    int x0, y0, x1, y1;
    int size;  // text height or line thickness
    uint8_t style;
    Ink ink;
    uint32_t argb;
    CaseIcon icon;
    std::string text;  // GBK
};

// A name drawn on the page: the Case it stands for and its text's box.
struct PageName {
    int x, y, w, h;
    LocationRef at;
};

struct PageBubble {
    int cx, cy, radius;
    int member;
};

struct PageLayout {
    int page = 0;  // 1..7
    int width = 0;
    int height = 0;  // of the whole page, for scrolling
    std::vector<PageItem> items;
    std::vector<PageName> names;
    std::vector<PageBubble> bubbles;
};

// The width in pixels of GBK text in the report's face at `size` pixels.
using TextMeasure = int (*)(const char* gbk, int size);
// Measures with the graphics layer's text (main thread).
int measure_report_text(const char* gbk, int size);

// Lays out `page` (1..7) for a report `width` pixels wide.
void layout_report_page(const Report& report, int page, int width, PageLayout& out,
                        TextMeasure measure = measure_report_text);

// The bubble under page point (x, y): its index in `layout.bubbles`, the
// topmost when bubbles overlap, or -1. A point is on a bubble when its
// distance from the centre is below the radius.
int report_bubble_at(const PageLayout& layout, int x, int y);

// The name under page point (x, y): its index in `layout.names`, or -1.
int report_name_at(const PageLayout& layout, int x, int y);

// The text of a bubble's hover box, "%s(%.1f)" (GBK).
std::string bubble_hover_text(const Report& report, const PageBubble& bubble);

}  // namespace nd
