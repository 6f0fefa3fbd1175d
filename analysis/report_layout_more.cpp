// Pages 6 and 7 of the report: the resource totals, and the subject's
// direct relations with the verdict on each.
#include <algorithm>
#include <cmath>

#include "analysis/report_layout_kit.h"
#include "analysis/report_texts.h"
#include "gfx/gfx.h"

namespace nd::report_kit {

namespace {

constexpr int kFirstRow = 80;
constexpr int kResourceRow = 30;
constexpr int kResourceBarH = 15;
constexpr int kResourceBarMax = 500;
constexpr uint32_t kResourceBar = 0xFF5192BD;
constexpr int kAxisRightMargin = 110;

constexpr int kRelationTop = 110;
constexpr int kRelationRow = 40;
constexpr int kSubjectRadius = 100;
constexpr int kSubjectX = kLeft + kSubjectRadius + 10;
constexpr int kOtherX = 420;

// One link between the subject's circle and a row: solid, 2 pixels, in the
// tight colour when tight, otherwise dotted, 3 pixels, in the line colour.
void relation_line(PageBuilder& b, int cy, int row_y, bool tight) {
    const double dx = kOtherX - 10 - kSubjectX, dy = row_y - cy;
    const double len = std::sqrt(dx * dx + dy * dy);
    const int sx = kSubjectX + int(std::lround(dx / len * kSubjectRadius));
    const int sy = cy + int(std::lround(dy / len * kSubjectRadius));
    if (tight)
        b.line(sx, sy, kOtherX - 10, row_y, 2, gfx::kSolidLine, Ink::kFixed, kTightColour);
    else
        b.line(sx, sy, kOtherX - 10, row_y, 3, gfx::kDottedLine, Ink::kLine);
}

}  // namespace

void layout_resources(const Report& r, PageBuilder& b, PageLayout& out) {
    b.headline(report_text::kPageTitle[5]);
    const int rows = int(r.resources.size());
    out.height = kFirstRow + std::max(rows, 1) * kResourceRow + 40;
    if (rows == 0) return;
    int widest = 0;
    int64_t largest = 0;
    for (const ResourceTotal& t : r.resources) {
        widest = std::max(widest, b.measure(t.name, kBodySize));
        largest = std::max(largest, t.total);
    }
    const int bar_x = kLeft + widest + 10;
    for (int i = 0; i < rows; ++i) {
        const ResourceTotal& t = r.resources[size_t(i)];
        const int y = kFirstRow + i * kResourceRow;
        b.text(bar_x - 10 - b.measure(t.name, kBodySize), y, kBodySize, Ink::kText, t.name);
        // A negative total, or no positive total at all, draws no bar.
        int64_t length = largest > 0 ? kResourceBarMax * t.total / largest : 0;
        if (length > 0)
            b.fill(bar_x, y + 1, bar_x + int(length), y + 1 + kResourceBarH, Ink::kFixed,
                   kResourceBar);
        b.text(bar_x + int(std::max<int64_t>(length, 0)) + 10, y, kBodySize, Ink::kText,
               printf_text(report_text::kTotal, static_cast<long long>(t.total)));
    }
    if (rows > 1) {
        const int top = kFirstRow - 15, foot = kFirstRow + (rows - 1) * kResourceRow + 30;
        b.line(bar_x, top, bar_x, foot, 1, gfx::kSolidLine, Ink::kLine);
        b.line(bar_x, foot, out.width - kAxisRightMargin, foot, 1, gfx::kSolidLine, Ink::kLine);
    }
}

void layout_relations(const Report& r, PageBuilder& b, PageLayout& out) {
    b.headline(report_text::kPageTitle[6]);
    const int rows = int(r.relations.size());
    if (rows == 0) {
        b.text(kLeft, 64, kBodySize, Ink::kText, report_text::kNoRelation);
        out.height = 120;
        return;
    }
    b.text(kLeft, 64, kBodySize, Ink::kText, printf_text(report_text::kRelationCount, rows));
    const int span = (rows - 1) * kRelationRow;
    const int cy = kRelationTop + std::max(kSubjectRadius, span / 2);
    const int first_row = cy - span / 2;
    const ReportMember& subject = r.members[0];
    b.circle(kSubjectX, cy, kSubjectRadius, Ink::kLine);
    std::string title = case_title(*subject.record);
    b.name(kSubjectX - b.measure(title, kBodySize) / 2, cy - kBodySize / 2 - 1, kBodySize,
           subject.at, title);
    for (int i = 0; i < rows; ++i) {
        const Relation& rel = r.relations[size_t(i)];
        const int y = first_row + i * kRelationRow;
        relation_line(b, cy, y - 3, rel.out_tight);
        if (rel.back != BackLink::kNone) relation_line(b, cy, y + 3, rel.back == BackLink::kTight);
        int end = b.name(kOtherX, y - kBodySize / 2 - 1, kBodySize, rel.at, case_title(*rel.other));
        std::string verdict = verdict_text(r, rel);
        if (!verdict.empty())
            b.text(end + 20, y - kBodySize / 2 - 1, kBodySize, Ink::kText, verdict);
    }
    out.height = std::max(cy + kSubjectRadius, first_row + span) + 60;
}

}  // namespace nd::report_kit
