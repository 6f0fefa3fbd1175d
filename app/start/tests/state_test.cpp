#include "app/start/state.h"

#include <gtest/gtest.h>

namespace nd::start {
namespace {

gfx::MouseMsg down(int x, int y) {
    return {x, y, gfx::kMouseDown, gfx::kMouseLeft, 0};
}
gfx::MouseMsg up(int x, int y) {
    return {x, y, gfx::kMouseUp, gfx::kMouseLeft, 0};
}
gfx::MouseMsg wheel(int x, int y, int delta) {
    return {x, y, gfx::kMouseWheel, 0, delta};
}

struct Point {
    int x, y;
};
Point centre(const Rect& r) {
    return {r.x + r.w / 2, r.y + r.h / 2};
}

Action click(StartState* state, const std::vector<RowFlags>& rows, Point p) {
    EXPECT_EQ(start_mouse(state, rows, down(p.x, p.y)), Action{});
    return start_mouse(state, rows, up(p.x, p.y));
}

TEST(StartLayout, RowsAreFiftyPixelsApartFromTwelvePixelsIntoTheList) {
    EXPECT_EQ(row_rect(0).y, layout::kList.y + 12);
    EXPECT_EQ(row_rect(3).y - row_rect(2).y, 50);
    EXPECT_GE(layout::kVisibleRows, 5);
    // The last visible row stays inside the list area.
    Rect last = row_rect(layout::kVisibleRows - 1);
    EXPECT_LE(last.y + last.h, layout::kList.y + layout::kList.h);
}

TEST(StartLayout, HitTestFindsEveryTarget) {
    struct Case {
        Rect rect;
        HitResult expected;
    } cases[] = {
        {layout::kNew, {Hit::kNew}},         {layout::kOpen, {Hit::kOpen}},
        {layout::kClose, {Hit::kClose}},     {layout::kMinimise, {Hit::kMinimise}},
        {layout::kHelp[1], {Hit::kHelp, 1}}, {row_rect(0), {Hit::kRow, 5}},
        {row_rect(2), {Hit::kRow, 7}},       {layout::kScrollDown, {Hit::kScrollDown}},
    };
    for (const Case& c : cases) {
        Point p = centre(c.rect);
        EXPECT_EQ(hit_list_page(p.x, p.y, 20, 5), c.expected) << p.x << "," << p.y;
    }
    // The gap between two rows, a row past the end of a short list, and the
    // scroll arrows of a list that fits are all empty.
    Point gap{row_rect(0).x + 10, row_rect(0).y + layout::kRowHeight + 1};
    EXPECT_EQ(hit_list_page(gap.x, gap.y, 20, 0).what, Hit::kNone);
    Point third = centre(row_rect(2));
    EXPECT_EQ(hit_list_page(third.x, third.y, 2, 0).what, Hit::kNone);
    Point arrow = centre(layout::kScrollDown);
    EXPECT_EQ(hit_list_page(arrow.x, arrow.y, 3, 0).what, Hit::kNone);
}

TEST(StartState, ClickOpensAFreeEntryAndOnlySelectsOneInUse) {
    std::vector<RowFlags> rows = {{false, false}, {true, false}, {false, true}};
    StartState state;
    EXPECT_EQ(click(&state, rows, centre(row_rect(1))), Action{});
    EXPECT_EQ(state.selected, 1);
    EXPECT_TRUE(selected_in_use(state, rows));
    // A locked entry opens like any other; the password is asked later.
    EXPECT_EQ(click(&state, rows, centre(row_rect(2))), (Action{ActionKind::kOpenRecent, 2}));
    EXPECT_FALSE(selected_in_use(state, rows));
    EXPECT_EQ(click(&state, rows, centre(layout::kNew)), Action{ActionKind::kChooseNew});
    EXPECT_EQ(click(&state, rows, centre(layout::kOpen)), Action{ActionKind::kChooseOpen});
    EXPECT_EQ(click(&state, rows, centre(layout::kHelp[0])), (Action{ActionKind::kOpenHelp, 0}));
    EXPECT_EQ(click(&state, rows, centre(layout::kMinimise)), Action{ActionKind::kMinimise});
    EXPECT_EQ(click(&state, rows, centre(layout::kClose)), Action{ActionKind::kClose});
}

TEST(StartState, PressAndReleaseOnDifferentTargetsDoNothing) {
    std::vector<RowFlags> rows(3);
    StartState state;
    Point row = centre(row_rect(0));
    Point button = centre(layout::kNew);
    start_mouse(&state, rows, down(row.x, row.y));
    EXPECT_EQ(start_mouse(&state, rows, up(button.x, button.y)), Action{});
    // A release with no press before it (the press went to another window).
    EXPECT_EQ(start_mouse(&state, rows, up(button.x, button.y)), Action{});
    EXPECT_EQ(state.selected, -1);
}

TEST(StartState, InputIsIgnoredWhileLoadingOrChoosing) {
    std::vector<RowFlags> rows(3);
    for (Mode mode : {Mode::kLoading, Mode::kChoosing}) {
        StartState state;
        state.mode = mode;
        EXPECT_EQ(click(&state, rows, centre(row_rect(0))), Action{});
        EXPECT_EQ(click(&state, rows, centre(layout::kClose)), Action{});
        EXPECT_EQ(state.selected, -1);
        EXPECT_EQ(start_key(&state, {13, gfx::kKeyDown, 0}), Action{});
    }
}

TEST(StartState, LongListScrollsByWheelAndArrowsWithinBounds) {
    std::vector<RowFlags> rows(20);
    StartState state;
    Point inside = centre(layout::kList);
    for (int i = 0; i < 30; ++i) start_mouse(&state, rows, wheel(inside.x, inside.y, -120));
    EXPECT_EQ(state.first_visible, 20 - layout::kVisibleRows);
    // The last entry is now reachable by clicking.
    Point last = centre(row_rect(layout::kVisibleRows - 1));
    EXPECT_EQ(click(&state, rows, last), (Action{ActionKind::kOpenRecent, 19}));
    EXPECT_EQ(click(&state, rows, centre(layout::kScrollUp)), Action{});
    EXPECT_EQ(state.first_visible, 19 - layout::kVisibleRows);
    for (int i = 0; i < 30; ++i) start_mouse(&state, rows, wheel(inside.x, inside.y, 120));
    EXPECT_EQ(state.first_visible, 0);
    // The wheel outside the list does not scroll it.
    Point outside = centre(layout::kNew);
    start_mouse(&state, rows, wheel(outside.x, outside.y, -120));
    EXPECT_EQ(state.first_visible, 0);

    scroll_to(&state, 20, 15);
    EXPECT_EQ(state.first_visible, 15 - layout::kVisibleRows + 1);
    scroll_to(&state, 20, 2);
    EXPECT_EQ(state.first_visible, 2);
    // A list that shrank below the window pulls the window back.
    clamp_scroll(&state, 3);
    EXPECT_EQ(state.first_visible, 0);
}

TEST(StartState, PathEntryTakesKeysAndItsButtons) {
    std::vector<RowFlags> rows(3);
    StartState state;
    state.mode = Mode::kEntry;
    // The list beneath the entry does not react.
    EXPECT_EQ(click(&state, rows, centre(row_rect(0))), Action{});
    start_key(&state, {'T', gfx::kKeyChar, 0});
    EXPECT_EQ(state.entry.text, "T");
    EXPECT_EQ(start_key(&state, {13, gfx::kKeyDown, 0}), Action{ActionKind::kSubmitEntry});
    EXPECT_EQ(click(&state, rows, centre(layout::kEntryOk)), Action{ActionKind::kSubmitEntry});
    EXPECT_EQ(click(&state, rows, centre(layout::kEntryCancel)), Action{});
    EXPECT_EQ(state.mode, Mode::kList);
    // Keys do nothing on the list page.
    start_key(&state, {'x', gfx::kKeyChar, 0});
    EXPECT_EQ(state.entry.text, "T");
}

}  // namespace
}  // namespace nd::start
