// The left bar and the colour-switch box on a view over a real workspace:
// rows, their menus, choosing and previewing categories, scrolling, and
// the switches hiding cards from drawing and hit-testing.
#include <gtest/gtest.h>

#include <cstring>

#include "board/cards.h"
#include "board/colour_switches.h"
#include "board/commands.h"
#include "board/left_bar.h"
#include "board/menu.h"
#include "board/pointer.h"
#include "board/testing/view_fixture.h"
#include "session/menu_objects.h"
#include "store/boards.h"

namespace nd {
namespace {

class LeftBar : public testing::BoardViewTest {
protected:
    void open_with_bar(const std::vector<testing::SceneCard>& cards, int extra_boards = 0) {
        open(cards, {}, extra_boards);
        install_left_bar(*view);
        ASSERT_NE(bar(), nullptr);
    }
    // Found again each time: a press brings a panel to the front, which
    // moves the entries of the panel list.
    static ui::Panel* bar() { return ui::panel_find(&view_state().panels, kPanelLeftBar); }
    static ui::Panel* box() { return ui::panel_find(&view_state().panels, kPanelColourSwitches); }
    // The screen point of row `row` of the tab shown.
    int row_y(int row, int step) const {
        return left_bar_list_rect(bar()->rect).y + kFirstRowY + row * step + 10;
    }
    // A click well after the last one, so it is never a double click.
    void click(int x, int y) {
        ticks += 1000;
        press(x, y);
        release(x, y);
    }
};

TEST_F(LeftBar, CategoryRowsNameTheirCasesAndOfferTheirMenus) {
    open_with_bar({{.title = "a", .x = 600, .y = 400}, {.title = "b", .x = 800, .y = 400}}, 2);
    LeftBarState& s = left_bar_state();
    ASSERT_GE(s.category_count, 3);
    EXPECT_TRUE(s.categories[0].used);
    EXPECT_EQ(s.categories[0].cases, 2);
    // One free slot after the last category is where a category is made.
    EXPECT_FALSE(s.categories[size_t(s.category_count - 1)].used);

    MenuTarget t;
    const int x = bar()->rect.x + 40;
    ASSERT_TRUE(menu_target_at(*view, kPanelLeftBar, x, row_y(1, kCategoryRowStep), &t));
    EXPECT_EQ(t.object, kMenuCategory);
    EXPECT_EQ(t.target.where.board, 1);
    ASSERT_TRUE(menu_target_at(*view, kPanelLeftBar, x, row_y(s.category_count - 1, kCategoryRowStep), &t));
    EXPECT_EQ(t.object, kMenuCategoryPlaceholder);
    // Below the rows: the empty list's menu.
    ASSERT_TRUE(menu_target_at(*view, kPanelLeftBar, x, left_bar_list_rect(bar()->rect).bottom() - 2, &t));
    EXPECT_EQ(t.object, kMenuCategoryEmpty);
}

TEST_F(LeftBar, PreviewShowsAnotherCategorysCasesWithoutSwitching) {
    open_with_bar({{.title = "a", .x = 600, .y = 400}}, 1);
    MenuTarget t;
    t.object = kMenuCategory;
    t.target.where = {0, 0, 1, -1};
    run_command(*view, 24, t);
    const LeftBarState& s = left_bar_state();
    EXPECT_EQ(s.tab, kTabPreview);
    EXPECT_EQ(s.preview_board, 1);
    EXPECT_EQ(view_state().board, 0);
    // The current category is never previewed.
    t.target.where.board = 0;
    run_command(*view, 24, t);
    EXPECT_EQ(s.preview_board, 1);
}

TEST_F(LeftBar, ChoosingACategorySwitchesTheBoardOnTheWorker) {
    open_with_bar({{.title = "a", .x = 600, .y = 400}}, 1);
    click(bar()->rect.x + 40, row_y(1, kCategoryRowStep));
    for (int i = 0; i < 5000 && view->switching.job; ++i)
        if (!switch_take_result(*view)) usleep(1000);
    make_all_cards(*view);
    EXPECT_EQ(view_state().board, 1);
}

TEST_F(LeftBar, TheCaseTabListsTheBoardAndItsRowsCarryTheCaseMenu) {
    open_with_bar({{.title = "first", .x = 600, .y = 400}, {.title = "second", .x = 800, .y = 400}});
    LeftBarState& s = left_bar_state();
    ASSERT_EQ(s.board_cases.count, 2);
    EXPECT_STREQ(s.board_cases.rows[1].title, "second");
    const gfx::Rect tab = s.tab_rects[kTabBoardCases];
    click(bar()->rect.x + tab.x + 5, bar()->rect.y + tab.y + 5);
    EXPECT_EQ(s.tab, kTabBoardCases);
    click(bar()->rect.x + 60, row_y(1, kCaseRowStep));
    CaseRef picked;
    ASSERT_TRUE(left_bar_selected_case(&picked));
    EXPECT_EQ(picked.where.slot, s.board_cases.rows[1].ref.where.slot);
    MenuTarget t;
    ASSERT_TRUE(menu_target_at(*view, kPanelLeftBar, bar()->rect.x + 60, row_y(0, kCaseRowStep), &t));
    EXPECT_EQ(t.object, kMenuBoardCase);
    EXPECT_EQ(t.card, find_card(*view, t.target));
}

TEST_F(LeftBar, TheWheelScrollsWithinTheRows) {
    open_with_bar({{.title = "a", .x = 600, .y = 400}}, 20);
    LeftBarState& s = left_bar_state();
    const int x = bar()->rect.x + 40, y = row_y(0, kCategoryRowStep);
    send(gfx::kMouseMove, 0, x, y);
    send(gfx::kMouseWheel, 0, x, y, -120);
    EXPECT_EQ(s.scroll[kTabCategories], kCategoryRowStep);
    for (int i = 0; i < 40; ++i) send(gfx::kMouseWheel, 0, x, y, -120);
    const int most = s.scroll[kTabCategories];
    EXPECT_LT(most, s.category_count * kCategoryRowStep);
    send(gfx::kMouseWheel, 0, x, y, 120 * 50);
    EXPECT_EQ(s.scroll[kTabCategories], 0);
}

TEST_F(LeftBar, AColourSwitchHidesItsCardsFromDrawingAndHitting) {
    open_with_bar({{.title = "red", .x = 700, .y = 400, .colour = kColourSevere}});
    const gfx::Rect r = card(0).rect;
    ASSERT_TRUE(hit_is_card(hit_test(*view, r.x + 5, r.y + 5)));
    ASSERT_NE(box(), nullptr);
    const gfx::Rect sw = colour_switch_rect(kColourSevere);
    click(box()->rect.x + sw.x + 10, box()->rect.y + sw.y + 10);
    EXPECT_FALSE(view->colour_shown[kColourSevere]);
    EXPECT_EQ(hit_test(*view, r.x + 5, r.y + 5), kHitBackground);
    // A drag that starts in the box moves no card and pans nothing.
    const int origin = view->origin_x;
    drag(box()->rect.x + 5, box()->rect.y + 5, box()->rect.x + 200, box()->rect.y + 5);
    EXPECT_EQ(view->origin_x, origin);
    click(box()->rect.x + sw.x + 10, box()->rect.y + sw.y + 10);
    EXPECT_TRUE(view->colour_shown[kColourSevere]);
}

}  // namespace
}  // namespace nd
