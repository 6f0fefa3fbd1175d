// The timeline strip: selection, raising and curves, scrolling, pulsing,
// hovering and drawing.
#include <gtest/gtest.h>

#include <memory>

#include "analysis/report.h"
#include "analysis/tests/scene.h"
#include "analysis/timeline.h"
#include "analysis/timeline_draw.h"
#include "skins/palette.h"
#include "skins/pictures.h"

namespace nd {
namespace {

using testing::Scene;

constexpr StripRect kStrip{0, 100, 1000};

std::vector<int> raised(const Timeline& t) {
    std::vector<int> out;
    for (size_t i = 0; i < t.entries.size(); ++i)
        if (t.entries[i].y == kEntryY - kRaise) out.push_back(int(i));
    return out;
}

TEST(Timeline, EntriesInStorageOrderAndTheFirstScrolledIn) {
    Scene s;
    CaseRecord& first = s.add("first", kKindEvent, 0, 0, 0, 0);
    s.add("b1", kKindEvent, 0, 0, 0, 1);
    s.add("g1", kKindEvent, 0, 0, 1, 0);
    s.add("second", kKindEvent, 0, 0, 0, 0);
    Timeline t;
    EXPECT_FALSE(t.shown);
    timeline_select(t, first.key);
    ASSERT_EQ(t.entries.size(), 4u);
    std::vector<std::string> titles;
    for (const TimelineEntry& e : t.entries) titles.push_back(e.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"first", "second", "b1", "g1"}));
    EXPECT_EQ(t.entries[2].x, 2 * kEntryStep);
    EXPECT_TRUE(t.shown);
    EXPECT_EQ(t.selected, 0);
    // The first icon stands 500 pixels in.
    EXPECT_EQ(kStrip.left + t.entries[0].x - t.scroll, 500);
    EXPECT_EQ(timeline_entry_at(t, kStrip, 505, kStrip.top + kEntryY - kRaise + 5), 0);
}

TEST(Timeline, SelectedAndLinkedEntriesRiseWithCurves) {
    Scene s;
    CaseRecord& a = s.add("a");
    CaseRecord& b = s.add("b");
    CaseRecord& c = s.add("c");
    CaseRecord& d = s.add("d");
    CaseRecord& e = s.add("e");
    CaseRecord& f = s.add("f");
    s.link(c, a, true);
    s.link(c, b);
    s.link(c, f);
    s.link(d, c);  // links to the selected Case without being linked from it
    (void)e;
    Timeline t;
    timeline_select(t, c.key);
    EXPECT_EQ(raised(t), (std::vector<int>{0, 1, 2, 5}));
    ASSERT_EQ(t.curves.size(), 3u);
    EXPECT_TRUE(t.curves[0].tight);
    EXPECT_FALSE(t.curves[1].tight);
    // Curves run from 6 pixels right of the selected icon to 6 pixels beside
    // the target, on the side facing the selected icon, and rise above both.
    const TimelineCurve& left = t.curves[0];
    EXPECT_EQ(left.points[0].x, 2 * kEntryStep + 6);
    EXPECT_EQ(left.points[kCurvePoints - 1].x, 0 - 6);
    EXPECT_EQ(t.curves[2].points[kCurvePoints - 1].x, 5 * kEntryStep + 6);
    for (const TimelineCurve& c2 : t.curves) {
        int top = kEntryY;
        for (const CurvePoint& p : c2.points) top = std::min<int>(top, p.y);
        EXPECT_LT(top, kEntryY - kRaise);
    }
}

TEST(Timeline, SameSelectionDoesNotRebuildAndClearingEmpties) {
    Scene s;
    CaseRecord& a = s.add("a");
    Timeline t;
    timeline_select(t, a.key);
    t.scroll = 1234;
    s.add("later");
    timeline_select(t, a.key);
    EXPECT_EQ(t.entries.size(), 1u);
    EXPECT_EQ(t.scroll, 1234);
    timeline_clear(t);
    EXPECT_TRUE(t.entries.empty());
    EXPECT_EQ(t.selected, -1);
    EXPECT_TRUE(t.shown);
    // After a reload the same Case is a new selection again.
    timeline_select(t, a.key);
    EXPECT_EQ(t.entries.size(), 2u);
}

TEST(Timeline, KeyNodesOfAReportPulse) {
    EXPECT_FALSE(timeline_pulses(2.9));
    EXPECT_TRUE(timeline_pulses(3.0));
    EXPECT_TRUE(timeline_pulses(2.9999999));
    EXPECT_FALSE(timeline_pulses(0));

    Scene s;
    CaseRecord& a = s.add("a", kKindEvent, 0, 2);
    CaseRecord& b = s.add("b", kKindEvent, 0, 4);
    CaseRecord& c = s.add("c", kKindEvent, 0, 1);
    s.link_both(a, b, true);
    s.link(a, c);
    Timeline t;
    timeline_select(t, a.key);
    t.entries[2].importance = 9;  // from an earlier report
    Report r;
    ASSERT_EQ(build_report(s.at(a), r), kReportOk);
    timeline_mark_key_nodes(t, r);
    EXPECT_DOUBLE_EQ(t.entries[0].importance, 4.0);  // 2 + 4 x 0.5
    EXPECT_DOUBLE_EQ(t.entries[1].importance, 5.0);  // 4 + 2 x 0.5
    EXPECT_DOUBLE_EQ(t.entries[2].importance, 0.0);
}

TEST(Timeline, WheelScrollsEightFramesAndPulseTurns) {
    Timeline t;
    timeline_wheel(t, -1);
    timeline_wheel(t, 1);  // ignored while the first runs
    for (int i = 0; i < 10; ++i) timeline_step(t);
    EXPECT_EQ(t.scroll, 8 * 48);
    timeline_wheel(t, 1);
    for (int i = 0; i < 8; ++i) timeline_step(t);
    EXPECT_EQ(t.scroll, 0);

    // Up by 16 from 48 until above 240, then 255; down by 10 until below 48.
    Timeline p;
    std::vector<int> seen;
    for (int i = 0; i < 40; ++i) {
        timeline_step(p);
        seen.push_back(p.pulse);
        EXPECT_GE(p.pulse, kPulseLow);
        EXPECT_LE(p.pulse, kPulseHigh);
        EXPECT_TRUE(p.jitter_x == 0 || p.jitter_x == 1);
    }
    EXPECT_EQ(seen[11], 240);
    EXPECT_EQ(seen[12], 255);
    EXPECT_EQ(seen[13], 245);
    EXPECT_EQ(seen[32], 55);
    EXPECT_EQ(seen[33], 48);
    EXPECT_EQ(seen[34], 64);
}

struct ImageDelete {
    void operator()(gfx::IMAGE* i) const { gfx::delete_image(i); }
};

class TimelineDraw : public ::testing::Test {
protected:
    TimelinePictures pictures;
    std::unique_ptr<gfx::IMAGE, ImageDelete> canvas{gfx::new_image(1000, 200)};
    void SetUp() override {
        install_skin_pictures();
        load_timeline_pictures(pictures);
    }
    void TearDown() override { free_timeline_pictures(pictures); }
    uint32_t at(int x, int y) const { return canvas->pixels[size_t(y) * 1000 + x] & 0xFFFFFF; }
};

TEST_F(TimelineDraw, MarkOrEdgeArrowForTheSelectedEntry) {
    Scene s;
    for (int i = 0; i < 100; ++i) s.add("c", kKindEvent, uint8_t(i % 4), 0, 0, i / 80);
    Timeline t;
    timeline_select(t, find_case(0, 0, 30)->key);
    const uint32_t mark = palette_color(kPalTimelineMark, 0) & 0xFFFFFF;
    timeline_draw(t, kStrip, 0, 99, pictures, canvas.get());
    EXPECT_NE(at(506, kStrip.top + kEntryY - kRaise - 10), mark) << "drawn while loading";
    timeline_draw(t, kStrip, 0, 100, pictures, canvas.get());
    // The dash-dot mark 6 pixels right of the selected icon, 3 to 25 above it.
    int marked = 0;
    for (int y = kStrip.top + kEntryY - kRaise - 25; y < kStrip.top + kEntryY - kRaise - 3; ++y)
        marked += at(506, y) == mark;
    EXPECT_GT(marked, 5);

    // Scrolled far right, the selected entry is off the left edge: the arrow
    // stands there, mirrored, and no mark is drawn.
    t.scroll += 2000;
    gfx::clear_image(canvas.get());
    timeline_draw(t, kStrip, 0, 100, pictures, canvas.get());
    const gfx::IMAGE* more = pictures.strip[int(StripIcon::kMore)];
    ASSERT_GT(more->width, 1);
    int arrow = 0;
    for (int y = 0; y < more->height; ++y)
        for (int x = 0; x < 13; ++x)
            arrow += at(x, kStrip.top + kEntryY - kRaise + y) !=
                     (palette_color(kPalPanelBackground, 0) & 0xFFFFFF);
    EXPECT_GT(arrow, 0);
}

TEST_F(TimelineDraw, HoverLabelRisesAboveTheStrip) {
    Scene s;
    CaseRecord& a = s.add("a title");
    Timeline t;
    timeline_select(t, a.key);
    timeline_pointer(t, kStrip, 505, kStrip.top + kEntryY - kRaise + 2);
    ASSERT_EQ(t.hovered, 0);
    timeline_draw(t, kStrip, 0, 100, pictures, canvas.get());
    // The box of 0xFF050505 stands 30 pixels above the raised icon, outside
    // the strip, with black corner pixels.
    const int top = kStrip.top + kEntryY - kRaise - 30;
    EXPECT_EQ(at(505, top + 1), 0x050505u);
    EXPECT_EQ(at(500, top), 0x000000u);
    timeline_pointer(t, kStrip, 5, 5);
    EXPECT_EQ(t.hovered, -1);
}

}  // namespace
}  // namespace nd
