// Pages 2 to 5 of the report: bubble charts of the members by kind, by
// creation time, by difficulty and by cognition, on one vertical scale of
// actual importance.
#include <cstdio>

#include "analysis/report_charts.h"
#include "analysis/report_layout_kit.h"
#include "analysis/report_texts.h"
#include "gfx/gfx.h"

namespace nd::report_kit {

namespace {

constexpr int kChartTop = 70;                  // the chart's top; its foot is 300 below
constexpr int kAxisLeft = 60;                  // room for the level labels
constexpr int kAxisMargin = 120;               // the axis is the width less this
constexpr int kGroupLabelY = kChartTop + 340;  // group labels and dates
constexpr int kFirstBubble = 10;               // the first bubble's centre from the axis start

void grid(PageBuilder& b, double step, int axis_w) {
    const int foot = kChartTop + kChartHeight;
    for (int level = 0; level < 5; ++level) {
        int y = foot - int(level * step + 0.5);
        b.line(kAxisLeft, y, kAxisLeft + axis_w, y, 1, level ? gfx::kDottedLine : gfx::kSolidLine,
               Ink::kLine);
        b.text(6, y - kSmallSize / 2 - 1, kSmallSize, Ink::kText, report_text::kLevelName[level]);
        b.text(34, y - kSmallSize / 2 - 1, kSmallSize, Ink::kText,
               report_text::kLevelFigure[level]);
    }
}

std::string key_date(const RecordKey& k) {
    return printf_text(report_text::kDate, int(k.year), int(k.month), int(k.day));
}

}  // namespace

void layout_chart(const Report& r, int page, PageBuilder& b, PageLayout& out) {
    b.headline(report_text::kPageTitle[page - 1]);
    const int axis_w = out.width - kAxisMargin;
    const double step = chart_step(r);
    grid(b, step, axis_w);
    out.height = kGroupLabelY + 40;

    ChartOrder order = chart_order(r, page);
    const int n = int(order.members.size());
    if (n == 0) return;
    const int foot = kChartTop + kChartHeight;
    for (int i = 0; i < n; ++i) {
        const ReportMember& m = r.members[size_t(order.members[size_t(i)])];
        BubblePlace place = bubble_place(m.actual_tenths, step);
        int cx = kAxisLeft + kFirstBubble + int(int64_t(i) * axis_w / n);
        int cy = foot - place.rise;
        b.disc(cx, cy, place.radius, kBubbleColour[m.status < 4 ? m.status : 0]);
        out.bubbles.push_back({cx, cy, place.radius, order.members[size_t(i)]});
        if (m.actual_tenths != 0) {
            std::string figure = printf_text(report_text::kBubbleFigure, m.actual());
            b.text(cx - b.measure(figure, kSmallSize) / 2, cy + place.radius + 2, kSmallSize,
                   Ink::kText, figure);
        }
        if (m.actual_tenths >= 20)
            b.name(cx + place.radius + 4, cy - kSmallSize / 2 - 1, kSmallSize, m.at,
                   case_title(*m.record));
    }
    for (const ChartGroup& g : order.groups) {
        if (g.count == 0 || !g.label) continue;
        int x = kAxisLeft + kFirstBubble + int(int64_t(g.first) * axis_w / n);
        b.text(x - b.measure(g.label, kBodySize) / 2, kGroupLabelY, kBodySize, Ink::kText, g.label);
    }
    if (page == 3) {
        const RecordKey& first = r.members[size_t(order.members.front())].record->key;
        const RecordKey& last = r.members[size_t(order.members.back())].record->key;
        b.text(kAxisLeft, kGroupLabelY, kBodySize, Ink::kText, key_date(first));
        std::string right = key_date(last);
        b.text(kAxisLeft + axis_w - b.measure(right, kBodySize), kGroupLabelY, kBodySize,
               Ink::kText, right);
    }
}

}  // namespace nd::report_kit
