#include "ui/panel.h"

#include <gtest/gtest.h>

#include <string>

namespace nd::ui {
namespace {

std::string g_log;

void draw_log(const Panel& p, gfx::IMAGE*) {
    g_log += std::to_string(p.id);
}
void skin_log(Panel& p, int skin) {
    g_log += std::to_string(p.id) + ":" + std::to_string(skin) + " ";
}

const PanelHooks kLogHooks = {.draw = draw_log, .skin_changed = skin_log};

Panel panel(int id, gfx::Rect rect, bool visible = true) {
    Panel p;
    p.id = id;
    p.rect = rect;
    p.visible = visible;
    p.hooks = &kLogHooks;
    return p;
}

TEST(PanelList, AddingRefusesWhatCannotBeKeptApart) {
    PanelList list;
    EXPECT_EQ(panel_add(&list, panel(5, {0, 0, 10, 10})), kPanelAdded);
    EXPECT_EQ(panel_add(&list, panel(5, {0, 0, 10, 10})), kPanelIdTaken);
    EXPECT_EQ(panel_add(&list, panel(0, {0, 0, 10, 10})), kPanelBadId);
    for (int id = 6; list.count < kMaxPanels; ++id) {
        ASSERT_EQ(panel_add(&list, panel(id, {0, 0, 1, 1})), kPanelAdded);
    }
    EXPECT_EQ(panel_add(&list, panel(99, {0, 0, 1, 1})), kPanelListFull);
    EXPECT_TRUE(panel_remove(&list, 5));
    EXPECT_FALSE(panel_remove(&list, 5));
    EXPECT_EQ(panel_find(&list, 5), nullptr);
    EXPECT_EQ(list.count, kMaxPanels - 1);
    EXPECT_EQ(list.panels[0].id, 6);
}

// Panels 4 and 5 overlap in the square 50..100; 9 is hidden.
TEST(PanelList, HitsGoToTheFrontMostShownPanelInsideItsEdges) {
    PanelList list;
    ASSERT_EQ(panel_add(&list, panel(4, {0, 0, 100, 100})), kPanelAdded);
    ASSERT_EQ(panel_add(&list, panel(5, {50, 50, 100, 100})), kPanelAdded);
    ASSERT_EQ(panel_add(&list, panel(9, {0, 0, 300, 300}, false)), kPanelAdded);
    EXPECT_EQ(panel_hit(list, 60, 60), 4);
    EXPECT_EQ(panel_hit(list, 120, 120), 5);
    EXPECT_EQ(panel_hit(list, 100, 60), 5) << "on 4's right edge, inside 5";
    EXPECT_EQ(panel_hit(list, 50, 20), 4);
    EXPECT_EQ(panel_hit(list, 0, 20), 0) << "on 4's left edge";
    EXPECT_EQ(panel_hit(list, 200, 200), 0) << "only the hidden panel is there";

    panel_bring_to_front(&list, 5);
    EXPECT_EQ(panel_hit(list, 60, 60), 5);
    EXPECT_EQ(list.panels[1].id, 4);

    g_log.clear();
    draw_panels(list, nullptr);
    EXPECT_EQ(g_log, "45") << "back to front, hidden ones left out";
    g_log.clear();
    panels_skin_changed(&list, 3);
    EXPECT_EQ(g_log, "5:3 4:3 9:3 ");
}

}  // namespace
}  // namespace nd::ui
