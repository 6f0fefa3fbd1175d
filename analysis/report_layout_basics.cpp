// Page 1 of the report: the status bar with its labels, the people, objects
// and key nodes, and section (2), the key nodes' actual importance.
#include <algorithm>

#include "analysis/links.h"
#include "analysis/report_layout_kit.h"
#include "analysis/report_texts.h"
#include "gfx/gfx.h"

namespace nd::report_kit {

namespace {

constexpr int kBarX = kLeft, kBarY = 72, kBarW = 200, kBarH = 20;
constexpr uint32_t kBoundColour = 0xFFC6101A;
constexpr int kLabelRow = 18;  // label rows below the bar
constexpr int kNameLine = 24;
constexpr int kKeyRow = 50;
constexpr uint32_t kImportanceBar = 0xFF5454FC;
constexpr uint32_t kActualHigh = 0xFFC6101A;  // actual importance 5 or more
constexpr uint32_t kActualBar = 0xFFA349A4;
constexpr int kPeopleRule = 40;

// The bar from the left: good, severe, warning, then grey for the rest, each
// segment share x 2 pixels wide. The segments' ends are taken from running
// counts so that they add up to the whole bar. Labels for shelved, warning
// and severe stand in rows below the bar, the rightmost segment's label in
// the top row, so that no leader line crosses another.
int status_bar(const Report& r, PageBuilder& b) {
    // A report always holds its subject, so n is at least 1.
    const int n = int(r.members.size());
    const int* c = r.status_counts;
    const int end1 = kBarW * c[1] / n, end2 = kBarW * (c[1] + c[2]) / n,
              end3 = kBarW * (c[1] + c[2] + c[3]) / n;
    b.fill(kBarX, kBarY, kBarX + kBarW, kBarY + kBarH, Ink::kStatusBar, 0);
    b.fill(kBarX, kBarY, kBarX + end1, kBarY + kBarH, Ink::kStatusBar, 1);
    b.fill(kBarX + end1, kBarY, kBarX + end2, kBarY + kBarH, Ink::kStatusBar, 2);
    b.fill(kBarX + end2, kBarY, kBarX + end3, kBarY + kBarH, Ink::kStatusBar, 3);
    for (int corner = 0; corner < 4; ++corner)
        b.pixel(kBarX + (corner & 1 ? kBarW - 1 : 0), kBarY + (corner & 2 ? kBarH - 1 : 0),
                0xFF000000);

    struct Label {
        int status, from, to;
    };
    const Label labels[3] = {{0, end3, kBarW}, {3, end2, end3}, {2, end1, end2}};
    const int label_x = kBarX + kBarW + 30;
    int row = 0;
    for (const Label& l : labels) {
        if (r.status_counts[l.status] == 0) continue;
        int mid = kBarX + (l.from + l.to) / 2;
        int y = kBarY + kBarH + 12 + kLabelRow * row++;
        b.line(mid, kBarY + kBarH, mid, y, 1, gfx::kSolidLine, Ink::kFixed, kLeaderColour);
        b.line(mid, y, label_x - 4, y, 1, gfx::kSolidLine, Ink::kFixed, kLeaderColour);
        b.text(label_x, y - kSmallSize / 2 - 1, kSmallSize, Ink::kText,
               printf_text(report_text::kStatusShare[l.status], status_share(r, l.status)));
    }
    return kBarY + kBarH + 12 + kLabelRow * 3;
}

// The people a Case links to, in link order.
std::vector<NameRef> linked_people(const CaseRecord& record) {
    std::vector<NameRef> out;
    for (int i = 0; i < link_count(record); ++i) {
        LocationRef at;
        const CaseRecord* t = link_target(record, i, &at);
        if (t && t->kind == kKindPerson) out.push_back({at, t});
    }
    return out;
}

void key_node_rows(const Report& r, PageBuilder& b, int y) {
    int bars_x = kLeft + 160;
    for (int k : r.key_nodes) {
        std::string title = case_title(*r.members[size_t(k)].record);
        bars_x = std::max(bars_x, kLeft + kIconSize + 3 + b.measure(title, kBodySize) + 20);
    }
    for (int k : r.key_nodes) {
        const ReportMember& m = r.members[size_t(k)];
        name_list(b, {{m.at, m.record}}, kLeft, y, 1 << 30, kBodySize, kNameLine);
        int importance = m.importance * 10, actual = m.actual_tenths;
        b.fill(bars_x, y + 2, bars_x + actual, y + 7, Ink::kFixed,
               actual >= 50 ? kActualHigh : kActualBar);
        b.fill(bars_x, y + 9, bars_x + importance, y + 14, Ink::kFixed, kImportanceBar);
        std::string figures =
            printf_text(report_text::kImportancePair, double(m.importance), m.actual());
        int fx = bars_x + std::max(actual, importance) + 10;
        b.text(fx, y, kSmallSize, Ink::kText, figures);
        std::vector<NameRef> people = linked_people(*m.record);
        if (!people.empty()) {
            int rule_x = fx + b.measure(figures, kSmallSize) + 10;
            b.line(rule_x, y + 8, rule_x + kPeopleRule, y + 8, 1, gfx::kSolidLine, Ink::kFixed,
                   kLeaderColour);
            name_list(b, people, rule_x + kPeopleRule + 8, y, 1 << 30, kBodySize, kNameLine);
        }
        y += kKeyRow;
    }
}

}  // namespace

void layout_basics(const Report& r, PageBuilder& b, PageLayout& out) {
    b.headline(printf_text(report_text::kPageTitle[0], case_title(*r.members[0].record).c_str()));
    if (r.bound_reached)
        b.text(kLeft, kHeadlineY + 28, kSmallSize, Ink::kFixed,
               printf_text(report_text::kBoundReached, kReportMaxMembers, kReportMaxMembers),
               kBoundColour);
    int y = status_bar(r, b) + 10;
    const int right = out.width - kLeft;
    const struct {
        const char* label;
        const std::vector<int>& members;
    } lines[3] = {{report_text::kPeople, r.people},
                  {report_text::kObjects, r.objects},
                  {report_text::kKeyNodes, r.key_nodes}};
    for (const auto& line : lines) {
        b.text(kLeft, y, kBodySize, Ink::kText, line.label);
        int x = kLeft + b.measure(line.label, kBodySize) + 4;
        y = name_list(b, member_refs(r, line.members), x, y, right, kBodySize, kNameLine);
    }

    y += 16;
    b.text(kLeft, y, kHeadlineSize, Ink::kTitle, report_text::kKeyNodeTitle);
    y += 34;
    b.text(kLeft, y, kBodySize, Ink::kText,
           printf_text(report_text::kKeyNodeCount, int(r.key_nodes.size())));
    y += 40;
    key_node_rows(r, b, y);
    out.height = y + kKeyRow * int(r.key_nodes.size()) + 20;
}

}  // namespace nd::report_kit
