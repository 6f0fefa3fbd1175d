// The sorting view "梳理": which Cases it gathers and where, its modes, and
// how it is reached and left.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/commands.h"
#include "board/keyboard.h"
#include "board/menu.h"
#include "board/sort_view.h"
#include "board/testing/view_fixture.h"
#include "session/menu_objects.h"

namespace nd {
namespace {

using SortView = testing::BoardViewTest;

std::string titles(const SortColumns& c, int column) {
    std::string out;
    for (const SortEntry& e : c.columns[size_t(column)]) out += std::string(e.title) + ";";
    return out;
}

TEST_F(SortView, ALinkCycleGivesEachCaseOnceInItsStatusColumn) {
    // a -> b -> c -> a, c -> d; e stands alone.
    open({{.title = "a", .x = 500, .y = 300},
          {.title = "b", .x = 700, .y = 300, .colour = kColourSevere},
          {.title = "c", .x = 900, .y = 300, .colour = kColourSevere},
          {.title = "d", .x = 500, .y = 600, .colour = kColourGood},
          {.title = "e", .x = 900, .y = 600, .colour = kColourWarning}},
         {{0, 1}, {1, 2}, {2, 0}, {2, 3}});
    SortColumns c;
    ASSERT_TRUE(collect_sort_entries(card(0).ref, kSortStatus, &c));
    EXPECT_EQ(c.total(), 4);
    EXPECT_EQ(titles(c, kColourShelved), "a;");
    EXPECT_EQ(titles(c, kColourGood), "d;");
    EXPECT_EQ(titles(c, kColourSevere), "b;c;") << "in the order the links reach them";
    EXPECT_EQ(titles(c, kColourWarning), "");

    ASSERT_TRUE(collect_sort_entries(card(4).ref, kSortStatus, &c));
    EXPECT_EQ(c.total(), 1) << "a Case without links is alone";
    EXPECT_EQ(titles(c, kColourWarning), "e;");

    ASSERT_TRUE(collect_sort_entries(card(4).ref, kSortAll, &c));
    EXPECT_EQ(c.total(), 5) << "全部 takes the whole category";

    CaseRef gone = card(0).ref;
    gone.key.serial ^= 1;
    EXPECT_FALSE(collect_sort_entries(gone, kSortStatus, &c));
}

TEST_F(SortView, SpaceOrdersAColumnByPlaceOnTheBoard) {
    open({{.title = "low", .x = 500, .y = 700},
          {.title = "high", .x = 700, .y = 100},
          {.title = "middle", .x = 900, .y = 400}},
         {{0, 1}, {0, 2}});
    SortColumns c;
    ASSERT_TRUE(collect_sort_entries(card(0).ref, kSortSpace, &c));
    EXPECT_EQ(titles(c, kColourShelved), "high;middle;low;");
}

TEST_F(SortView, TheShortcutOpensItAndItsRowsCarryTheListMenu) {
    open({{.title = "a", .x = 500, .y = 300}, {.title = "b", .x = 700, .y = 300}}, {{0, 1}});
    MenuTarget t;
    ASSERT_TRUE(menu_target_at(*view, kHitFirstCard + 0, card(0).rect.x + 2, card(0).rect.y + 2, &t));
    run_command(*view, 21, t);
    const ui::Panel* panel = ui::panel_find(&view_state().panels, kPanelListView);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panel->visible);
    EXPECT_EQ(view_state().panels.panels[0].id, kPanelListView) << "in front";
    EXPECT_EQ(sort_view_state().columns.total(), 2);

    const int x = sort_column_x(panel->rect, 0) + 40;
    const int y = sort_column_top(panel->rect) + kSortEntryStep + 5;
    ASSERT_TRUE(menu_target_at(*view, kPanelListView, x, y, &t));
    EXPECT_EQ(t.object, kMenuListRow);
    EXPECT_EQ(std::string(find_case(0, 0, t.target.where.slot)->title), "b");
    open_menu(*view, t);
    ASSERT_TRUE(menu_is_open(*view));
    for (int i = 0; i < view->menu.count; ++i) EXPECT_NE(view->menu.entries[size_t(i)].item, 20);

    // A right drag over the view does not pan the board; its release is
    // a right click, which opens the row's menu.
    close_menu(*view);
    const int origin = view->origin_x;
    drag(x, y, x + 100, y, gfx::kMouseRight);
    EXPECT_EQ(view->origin_x, origin);
    EXPECT_TRUE(menu_is_open(*view));
    close_menu(*view);

    // The close button hides it.
    const gfx::Rect close = sort_button_rect(panel->rect, kSortModeCount);
    press(close.x + 5, close.y + 5);
    release(close.x + 5, close.y + 5);
    EXPECT_FALSE(panel->visible);
}

}  // namespace
}  // namespace nd
