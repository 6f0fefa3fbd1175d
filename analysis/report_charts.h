// Which members the bubble charts of pages 2 to 5 show, in which order and
// groups, and where a bubble stands on the chart's vertical scale.
#pragma once

#include <vector>

#include "analysis/report.h"

namespace nd {

inline constexpr int kFirstChartPage = 2;
inline constexpr int kLastChartPage = 5;

struct ChartGroup {
    int first;  // index into ChartOrder::members
    int count;
    const char* label;  // GBK; null on page 3, which has one row without groups
};

struct ChartOrder {
    std::vector<int> members;  // member indexes, left to right
    std::vector<ChartGroup> groups;
};

// Page 2 by kind (person, object, event, none, task); page 3 every charted
// member by creation time; page 4 by difficulty keeping page 2's order
// inside a group; page 5 by cognition keeping page 4's order. Members of
// other kinds are on no chart, and members whose difficulty or cognition has
// no group are left off that page's chart.
ChartOrder chart_order(const Report& report, int page);

// The vertical scale: 300 pixels of chart, a row step of 60 pixels while
// the largest actual importance is at most 5, else 300 / (top + 1).
inline constexpr int kChartHeight = 300;
double chart_step(const Report& report);

struct BubblePlace {
    int rise;    // pixels from the chart's foot (its level-0 row) up to the centre
    int radius;  // (a + 1) x 5
};

// Level = whole part of a, raised by its tenths as tenths of a step, and by
// the radius so that the bubble stands on its row.
BubblePlace bubble_place(int actual_tenths, double step);

}  // namespace nd
