// The assessment report's figures and page layouts on small scenes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/report.h"
#include "analysis/report_charts.h"
#include "analysis/report_layout.h"
#include "analysis/report_texts.h"
#include "analysis/tests/scene.h"

namespace nd {
namespace {

using testing::Scene;

// Seven pixels a byte: layouts in these tests do not depend on fonts.
int fixed_measure(const char* gbk, int) {
    return 7 * int(std::strlen(gbk));
}

PageLayout layout(const Report& r, int page) {
    PageLayout out;
    layout_report_page(r, page, 800, out, fixed_measure);
    return out;
}

std::vector<std::string> texts(const PageLayout& l) {
    std::vector<std::string> out;
    for (const PageItem& it : l.items)
        if (it.kind == ItemKind::kText) out.push_back(it.text);
    return out;
}

bool has_text(const PageLayout& l, const std::string& text) {
    for (const std::string& t : texts(l))
        if (t == text) return true;
    return false;
}

// Fills of one fixed colour, as (x0, width) pairs.
std::vector<std::pair<int, int>> fills(const PageLayout& l, uint32_t argb) {
    std::vector<std::pair<int, int>> out;
    for (const PageItem& it : l.items)
        if (it.kind == ItemKind::kFill && it.ink == Ink::kFixed && it.argb == argb)
            out.push_back({it.x0, it.x1 - it.x0});
    return out;
}

// "n7" and the like (std::string's operator+ trips a false -Wrestrict in
// this compiler).
std::string numbered(const char* prefix, size_t i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%zu", prefix, i);
    return buf;
}

Report report_of(const Scene& scene, const CaseRecord& subject) {
    Report r;
    EXPECT_EQ(build_report(scene.at(subject), r), kReportOk);
    return r;
}

std::vector<std::string> member_titles(const Report& r) {
    std::vector<std::string> out;
    for (const ReportMember& m : r.members) out.push_back(case_title(*m.record));
    return out;
}

// The edge cases of the report, one scene each.
TEST(Report, EdgeCases) {
    {
        SCOPED_TRACE("a subject without links");
        Scene s;
        CaseRecord& a = s.add("a");
        s.add("unlinked");
        Report r = report_of(s, a);
        EXPECT_EQ(member_titles(r), std::vector<std::string>{"a"});
        EXPECT_TRUE(r.relations.empty());
        EXPECT_TRUE(has_text(layout(r, 7), report_text::kNoRelation));
    }
    {
        SCOPED_TRACE("L3 tightly both ways with two L5");
        Scene s;
        CaseRecord& a = s.add("a", kKindEvent, 0, 2);
        CaseRecord& b = s.add("b", kKindEvent, 0, 4);
        CaseRecord& c = s.add("c", kKindEvent, 0, 4);
        s.link_both(a, b, true);
        s.link_both(a, c, true);
        Report r = report_of(s, a);
        EXPECT_EQ(r.members[0].actual_tenths, 60);
        EXPECT_DOUBLE_EQ(r.members[0].actual(), 6.0);
        EXPECT_TRUE(is_key_node(r.members[0]));
        // Its second bar is red and 60 pixels long; b and c (4 + 2 x 0.5 = 5)
        // are red too, at 50 pixels.
        auto red = fills(layout(r, 1), 0xFFC6101A);
        ASSERT_EQ(red.size(), 3u);
        EXPECT_EQ(red[0].second, 60);
        EXPECT_EQ(red[1].second, 50);
        EXPECT_TRUE(fills(layout(r, 1), 0xFFA349A4).empty());
    }
    {
        SCOPED_TRACE("a one-way link adds nothing");
        Scene s;
        CaseRecord& a = s.add("a", kKindEvent, 0, 0);
        CaseRecord& b = s.add("b", kKindEvent, 0, 4);
        s.link(a, b, true);
        Report r = report_of(s, a);
        ASSERT_EQ(r.members.size(), 2u);
        EXPECT_EQ(r.members[0].actual_tenths, 0);
        EXPECT_EQ(r.members[1].actual_tenths, 40);
    }
    {
        SCOPED_TRACE("3.5 stands half a step above the 重要 row");
        Scene s;
        CaseRecord& a = s.add("a", kKindEvent, 0, 3);
        CaseRecord& b = s.add("b", kKindEvent, 0, 1);
        s.link_both(a, b, true);  // 3 + 1 x 0.5
        Report r = report_of(s, a);
        ASSERT_EQ(r.members[0].actual_tenths, 35);
        PageLayout l = layout(r, 2);
        ASSERT_EQ(l.bubbles.size(), 2u);
        const PageBubble& bub = l.bubbles[0];
        EXPECT_EQ(bub.radius, 22);  // (3.5 + 1) x 5, truncated
        const int foot = 70 + 300, important_row = foot - 3 * 60;
        EXPECT_EQ(bub.cy + bub.radius, important_row - 30);
    }
    {
        SCOPED_TRACE("a status whose count is zero has no label");
        Scene s;
        CaseRecord& a = s.add("a", kKindEvent, kColourGood);
        CaseRecord& b = s.add("b", kKindEvent, kColourSevere);
        s.link(a, b);
        Report r = report_of(s, a);
        EXPECT_EQ(r.status_counts[1], 1);
        EXPECT_EQ(r.status_counts[2], 1);
        PageLayout l = layout(r, 1);
        EXPECT_TRUE(has_text(l, "\xD1\xCF\xD6\xD8 50.0%"));  // 严重 50.0%
        for (const std::string& t : texts(l)) {
            EXPECT_EQ(t.find("\xB8\xE9\xD6\xC3 "), std::string::npos) << "搁置 label";
            EXPECT_EQ(t.find("\xBE\xAF\xB8\xE6 "), std::string::npos) << "警告 label";
        }
    }
    {
        SCOPED_TRACE("工时 3 + 4 gives 7 with the 500-pixel bar");
        Scene s;
        CaseRecord& a = s.add("a");
        CaseRecord& b = s.add("b");
        s.resource(a, "\xB9\xA4\xCA\xB1", 3);  // 工时
        s.resource(b, "\xB9\xA4\xCA\xB1", 4);
        s.resource(b, "x", 2);
        s.link(a, b);
        Report r = report_of(s, a);
        ASSERT_EQ(r.resources.size(), 2u);
        EXPECT_EQ(r.resources[0].name, "\xB9\xA4\xCA\xB1");
        EXPECT_EQ(r.resources[0].total, 7);
        auto bars = fills(layout(r, 6), 0xFF5192BD);
        ASSERT_EQ(bars.size(), 2u);
        EXPECT_EQ(bars[0].second, 500);
        EXPECT_EQ(bars[1].second, 142);  // 500 x 2 / 7, truncated
        EXPECT_TRUE(has_text(layout(r, 6), "7"));
    }
    {
        SCOPED_TRACE("a cycle visits each Case once");
        Scene s;
        CaseRecord& a = s.add("a");
        CaseRecord& b = s.add("b");
        CaseRecord& c = s.add("c");
        s.link(a, b);
        s.link(b, c);
        s.link(c, a);
        s.link(c, b);
        EXPECT_EQ(member_titles(report_of(s, a)), (std::vector<std::string>{"a", "b", "c"}));
    }
    {
        SCOPED_TRACE("ten loose back links from L2 Cases lift L3 to exactly 3");
        Scene s;
        CaseRecord& a = s.add("a", kKindEvent, 0, 2);
        for (int i = 0; i < 10; ++i)
            s.link_both(a, s.add(numbered("n", size_t(i)), kKindEvent, 0, 1));
        Report r = report_of(s, a);
        EXPECT_EQ(r.members[0].actual_tenths, 30);
        EXPECT_TRUE(is_key_node(r.members[0]));
    }
}

TEST(Report, MembersDepthFirstInLinkOrder) {
    Scene s;
    CaseRecord& a = s.add("a");
    CaseRecord& b = s.add("b");
    CaseRecord& c = s.add("c");
    CaseRecord& d = s.add("d", kKindEvent, 0, 0, 0, 1);  // on another board
    CaseRecord& e = s.add("e");
    s.link(a, b);
    s.link(a, c);
    s.link(b, d);
    s.link(d, a);
    s.link(c, e);
    s.link(a, a);  // a link to itself adds nothing
    EXPECT_EQ(member_titles(report_of(s, a)), (std::vector<std::string>{"a", "b", "d", "c", "e"}));
}

TEST(Report, StaleLinksAreNotFollowed) {
    Scene s;
    CaseRecord& a = s.add("a");
    CaseRecord& b = s.add("b");
    s.link(a, b);
    a.link_keys[0].second ^= 1;  // b was made at another time than the link says
    EXPECT_EQ(report_of(s, a).members.size(), 1u);
    a.link_keys[0].second ^= 1;
    a.link_locations[0].flag = 1;
    EXPECT_EQ(report_of(s, a).members.size(), 1u);
}

TEST(Report, HundredMemberBound) {
    struct Case {
        int chain;
        size_t members;
        bool reached;
    } cases[] = {{99, 99, false}, {100, 100, false}, {101, 100, true}, {150, 100, true}};
    for (const Case& c : cases) {
        Scene s;
        std::vector<CaseRecord*> chain;
        for (int i = 0; i < c.chain; ++i)
            chain.push_back(&s.add(numbered("n", size_t(i)), kKindPerson, 0, 4, 0, i / 80));
        for (int i = 0; i + 1 < c.chain; ++i) s.link_both(*chain[size_t(i)], *chain[size_t(i) + 1]);
        Report r = report_of(s, *chain[0]);
        EXPECT_EQ(r.members.size(), c.members) << c.chain;
        EXPECT_EQ(r.bound_reached, c.reached) << c.chain;
        EXPECT_EQ(r.people.size(), c.members);
        EXPECT_EQ(r.key_nodes.size(), c.members);
        EXPECT_EQ(case_title(*r.members.back().record), numbered("n", c.members - 1));
        char note[128];
        std::snprintf(note, sizeof note, report_text::kBoundReached, 100, 100);
        EXPECT_EQ(has_text(layout(r, 1), note), c.reached) << c.chain;
    }
}

TEST(Report, ResourceNamesAreByteExactAndBounded) {
    Scene s;
    CaseRecord& a = s.add("a");
    s.resource(a, "abc", 1);
    s.resource(a, "abc ", 2);
    s.resource(a, "ABC", 3);
    s.resource(a, "abc", -5);
    Report r = report_of(s, a);
    ASSERT_EQ(r.resources.size(), 3u);
    EXPECT_EQ(r.resources[0].total, -4);
    // A negative total draws no bar; the others scale to the largest.
    auto bars = fills(layout(r, 6), 0xFF5192BD);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].second, 333);
    EXPECT_EQ(bars[1].second, 500);

    Scene many;
    CaseRecord* prev = nullptr;
    for (int c = 0; c < 4; ++c) {
        CaseRecord& x = many.add(numbered("c", size_t(c)));
        for (int i = 0; i < 30; ++i) many.resource(x, numbered("r", size_t(c * 30 + i)).c_str(), 1);
        if (prev) many.link(*prev, x);
        prev = &x;
    }
    Report big;
    ASSERT_EQ(build_report(LocationRef{0, 0, 0, 0}, big), kReportOk);
    EXPECT_EQ(big.resources.size(), 100u);
    EXPECT_TRUE(big.resources_cut);
    EXPECT_EQ(big.resources.back().name, "r99");
}

TEST(Report, RelationVerdicts) {
    Scene s;
    CaseRecord& a = s.add("A");
    CaseRecord& both = s.add("B");
    CaseRecord& mine = s.add("C");
    CaseRecord& theirs = s.add("D");
    CaseRecord& none = s.add("E");
    CaseRecord& oneway = s.add("F");
    s.link_both(a, both, true);
    s.link(a, mine, true);
    s.link(mine, a, false);
    s.link(a, theirs, false);
    s.link(theirs, a, true);
    s.link_both(a, none, false);
    s.link(a, oneway, false);
    Report r = report_of(s, a);
    ASSERT_EQ(r.relations.size(), 5u);
    struct Want {
        BackLink back;
        bool out;
        std::string text;
    } want[] = {
        {BackLink::kTight, true, report_text::kBothTight},
        {BackLink::kLoose, true,
         "\"A\" \xC8\xCF\xCE\xAA\xD7\xD4\xBC\xBA\xD3\xEB \"C\" \xB5\xC4"
         "\xB9\xD8\xCF\xB5\xCA\xC7\xBD\xF4\xC3\xDC\xB5\xC4"},
        {BackLink::kTight, false,
         "\"D\" \xC8\xCF\xCE\xAA\xD7\xD4\xBC\xBA\xD3\xEB \"A\" \xB5\xC4"
         "\xB9\xD8\xCF\xB5\xCA\xC7\xBD\xF4\xC3\xDC\xB5\xC4"},
        {BackLink::kLoose, false, ""},
        {BackLink::kNone, false, ""},
    };
    PageLayout l = layout(r, 7);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(r.relations[i].back, want[i].back) << i;
        EXPECT_EQ(r.relations[i].out_tight, want[i].out) << i;
        EXPECT_EQ(verdict_text(r, r.relations[i]), want[i].text) << i;
        if (!want[i].text.empty()) {
            EXPECT_TRUE(has_text(l, want[i].text)) << i;
        }
    }
    EXPECT_TRUE(has_text(l,
                         "\xCC\xBD\xB2\xE2\xB5\xBD 5 \xB8\xF6\xD6\xB1\xBD\xD3\xB9\xD8\xCF\xB5"
                         "\xA1\xA3"));  // 探测到 5 个直接关系。
    // Every link with a back link has two lines to its row, the one-way link
    // one: tight ones solid and blue, loose ones dotted.
    int solid = 0, dotted = 0;
    for (const PageItem& it : l.items) {
        if (it.kind != ItemKind::kLine || it.x1 != 410) continue;
        if (it.style == 0 && it.argb == 0xFF00A2E8 && it.size == 2) ++solid;
        if (it.style == 2 && it.ink == Ink::kLine && it.size == 3) ++dotted;
    }
    EXPECT_EQ(solid, 4);
    EXPECT_EQ(dotted, 5);
    EXPECT_EQ(report_window_title(r), "\xC6\xC0\xB9\xC0 - A");  // 评估 - A
}

TEST(Report, PageOneTexts) {
    Scene s;
    CaseRecord& a = s.add("Subject", kKindEvent, kColourShelved, 3);
    CaseRecord& p = s.add("Pat", kKindPerson, kColourGood, 0);
    CaseRecord& q = s.add("Quinn", kKindPerson, kColourWarning, 0);
    CaseRecord& o = s.add("Box", kKindObject, kColourWarning, 0);
    s.link(a, p);
    s.link(a, q);
    s.link(a, o);
    Report r = report_of(s, a);
    PageLayout l = layout(r, 1);
    std::vector<std::string> want = {
        "(1) \xA1\xB0Subject\xA1\xB1 \xB5\xC4\xBB\xF9\xB1\xBE\xC7\xE9\xBF\xF6",
        "\xB8\xE9\xD6\xC3 25.0%",  // 搁置 25.0%
        "\xBE\xAF\xB8\xE6 50.0%",  // 警告 50.0%
        report_text::kPeople,
        "Pat",
        ", ",
        "Quinn",
        report_text::kObjects,
        "Box",
        report_text::kKeyNodes,
        "Subject",
        report_text::kKeyNodeTitle,
        "\xD4\xDA\xD5\xE2\xB6\xCE\xBC\xC7\xD2\xE4\xD6\xD0\xA3\xAC"
        "1 \xB8\xF6\xB9\xD8\xBC\xFC"
        "\xBD\xDA\xB5\xE3\xB5\xC4\xCA\xB5\xBC\xCA\xD6\xD8\xD2\xAA\xD0\xD4\xD4\xDA\xA1\xB0\xD6\xD8"
        "\xD2\xAA\xA1\xB1\xD2\xD4\xC9\xCF\xA1\xA3",
        "Subject",
        "3 / 3.0",
        "Pat",
        ", ",
        "Quinn"};
    EXPECT_EQ(texts(l), want);
    // Names are clickable and stand for their Cases.
    ASSERT_GE(l.names.size(), 4u);
    EXPECT_EQ(l.names[0].at.slot, s.at(p).slot);
    int hit = report_name_at(l, l.names[1].x + 1, l.names[1].y + 1);
    EXPECT_EQ(hit, 1);
    EXPECT_EQ(report_name_at(l, l.names[1].x - 1, l.names[1].y + 1), -1);
}

TEST(Report, EveryPageOpensWithItsHeadline) {
    Scene s;
    CaseRecord& a = s.add("S");
    s.link_both(a, s.add("T"));
    Report r = report_of(s, a);
    const char* const want[kReportPages] = {
        "(1) \xA1\xB0S\xA1\xB1 \xB5\xC4\xBB\xF9\xB1\xBE\xC7\xE9\xBF\xF6",  // (1) “S” 的基本情况
        report_text::kPageTitle[1],
        report_text::kPageTitle[2],
        report_text::kPageTitle[3],
        report_text::kPageTitle[4],
        report_text::kPageTitle[5],
        report_text::kPageTitle[6]};
    for (int page = 1; page <= kReportPages; ++page) {
        PageLayout l = layout(r, page);
        ASSERT_FALSE(l.items.empty()) << page;
        EXPECT_EQ(l.items[0].text, want[page - 1]) << page;
        EXPECT_EQ(l.items[0].ink, Ink::kTitle) << page;
        EXPECT_GT(l.height, 100) << page;
    }
    // Page 1 of section (2), and the chart pages' level rows.
    EXPECT_TRUE(has_text(layout(r, 1), report_text::kKeyNodeTitle));
    for (int page = 2; page <= 5; ++page)
        for (int level = 0; level < 5; ++level) {
            EXPECT_TRUE(has_text(layout(r, page), report_text::kLevelName[level])) << page;
            EXPECT_TRUE(has_text(layout(r, page), report_text::kLevelFigure[level])) << page;
        }
    PageLayout none;
    layout_report_page(r, 8, 800, none, fixed_measure);
    EXPECT_TRUE(none.items.empty());
}

TEST(Report, ChartOrdersAndScale) {
    Scene s;
    CaseRecord& a = s.add("task", kKindTask);
    CaseRecord& b = s.add("none", kKindNone);
    CaseRecord& c = s.add("obj", kKindObject);
    CaseRecord& d = s.add("who", kKindPerson);
    CaseRecord& e = s.add("place", kKindEvent);
    CaseRecord& f = s.add("odd", 999);  // not a charted kind
    for (CaseRecord* x : {&b, &c, &d, &e, &f}) s.link(a, *x);
    b.difficulty = 2;
    d.difficulty = 1;
    c.cognition = 2;
    e.cognition = 1;
    Report r = report_of(s, a);
    auto titles = [&](const ChartOrder& o) {
        std::vector<std::string> out;
        for (int m : o.members) out.push_back(case_title(*r.members[size_t(m)].record));
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(titles(chart_order(r, 2)), (V{"who", "obj", "place", "none", "task"}));
    EXPECT_EQ(titles(chart_order(r, 3)), (V{"task", "none", "obj", "who", "place"}));
    EXPECT_EQ(titles(chart_order(r, 4)), (V{"obj", "place", "task", "who", "none"}));
    EXPECT_EQ(titles(chart_order(r, 5)), (V{"task", "who", "none", "place", "obj"}));
    ChartOrder by_kind = chart_order(r, 2);
    ASSERT_EQ(by_kind.groups.size(), 5u);
    EXPECT_EQ(by_kind.groups[2].first, 2);
    EXPECT_STREQ(by_kind.groups[2].label, "\xCA\xC2\xBC\xFE");  // 事件

    // Page 3 writes the first and last creation dates.
    PageLayout p3 = layout(r, 3);
    EXPECT_TRUE(has_text(p3, "2024.1.1"));
    EXPECT_EQ(p3.bubbles.size(), 5u);

    EXPECT_DOUBLE_EQ(chart_step(r), 60.0);
}

TEST(Report, ScaleShrinksAboveFive) {
    Scene s;
    CaseRecord& a = s.add("a", kKindEvent, 0, 4);
    for (int i = 0; i < 3; ++i) s.link_both(a, s.add("x", kKindEvent, 0, 4), true);
    Report r = report_of(s, a);
    ASSERT_EQ(r.members[0].actual_tenths, 100);  // 4 + 3 x 2
    const double step = 300.0 / 11.0;
    EXPECT_DOUBLE_EQ(chart_step(r), step);
    // Level 10 sits above the 4.0+ row, at 300 - 10 x step: the chart's top.
    BubblePlace top = bubble_place(100, step);
    EXPECT_EQ(top.radius, 55);
    EXPECT_EQ(top.rise, int(std::lround(10 * step)) + 55);
    PageLayout l = layout(r, 2);
    EXPECT_EQ(l.bubbles[0].cy, 70 + 300 - top.rise);
}

TEST(Report, BubbleHitTestAndHoverText) {
    Scene s;
    CaseRecord& a = s.add("Alpha", kKindEvent, 0, 2);
    CaseRecord& b = s.add("Beta", kKindEvent, 0, 4);
    s.link_both(a, b, false);
    Report r = report_of(s, a);
    PageLayout l = layout(r, 2);
    ASSERT_EQ(l.bubbles.size(), 2u);
    const PageBubble& bub = l.bubbles[0];
    // Strictly inside the radius counts; the rim does not.
    EXPECT_EQ(report_bubble_at(l, bub.cx, bub.cy), 0);
    EXPECT_EQ(report_bubble_at(l, bub.cx + bub.radius - 1, bub.cy), 0);
    EXPECT_EQ(report_bubble_at(l, bub.cx + bub.radius, bub.cy), -1);
    EXPECT_EQ(bubble_hover_text(r, bub), "Alpha(2.4)");
    // Figures under bubbles, titles beside those of 2 or more.
    EXPECT_TRUE(has_text(l, "2.4"));
    EXPECT_TRUE(has_text(l, "4.2"));
    EXPECT_TRUE(has_text(l, "Alpha"));
}

}  // namespace
}  // namespace nd
