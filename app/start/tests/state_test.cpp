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

TEST(StartLayout, TheListWidgetUsesThePagesRows) {
    const StartState state;
    for (int slot = 0; slot < layout::kVisibleRows; ++slot) {
        EXPECT_EQ(ui::list_row_rect(state.list, slot), row_rect(slot)) << slot;
    }
    EXPECT_EQ(ui::list_visible_rows(state.list), layout::kVisibleRows);
}

TEST(StartState, EveryTargetIsHitAndNothingBesideIt) {
    std::vector<RowFlags> rows(20);
    StartState state;
    scroll_to(&state, 20, 7);
    EXPECT_EQ(click(&state, rows, centre(row_rect(0))), (Action{ActionKind::kOpenRecent, 1}));
    EXPECT_EQ(click(&state, rows, centre(row_rect(2))), (Action{ActionKind::kOpenRecent, 3}));
    EXPECT_EQ(click(&state, rows, centre(layout::kHelp[1])), (Action{ActionKind::kOpenHelp, 1}));
    // The gap between two rows is no row.
    state.list.selected = -1;
    Point gap{row_rect(0).x + 10, row_rect(0).y + layout::kRowHeight + 1};
    EXPECT_EQ(click(&state, rows, gap), Action{});
    EXPECT_EQ(state.list.selected, -1);
    // A row past the end of a short list, and the arrows of a list that fits,
    // are nothing either.
    std::vector<RowFlags> few(2);
    StartState short_list;
    EXPECT_EQ(click(&short_list, few, centre(row_rect(2))), Action{});
    click(&short_list, few, centre(layout::kScrollDown));
    EXPECT_EQ(short_list.list.first_visible, 0);
    EXPECT_EQ(short_list.list.selected, -1);
}

TEST(StartState, AClickAnywhereLivelyClearsTheMessage) {
    std::vector<RowFlags> rows(20);
    StartState state;
    state.message = "m";
    state.detail = "d";
    Point nowhere{300, 120};
    click(&state, rows, nowhere);
    EXPECT_EQ(state.message, "m");
    click(&state, rows, centre(layout::kScrollDown));
    EXPECT_EQ(state.message, "");
    EXPECT_EQ(state.detail, "");
}

TEST(StartState, ClickOpensAFreeEntryAndOnlySelectsOneInUse) {
    std::vector<RowFlags> rows = {{false, false}, {true, false}, {false, true}};
    StartState state;
    EXPECT_EQ(click(&state, rows, centre(row_rect(1))), Action{});
    EXPECT_EQ(state.list.selected, 1);
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
    EXPECT_EQ(state.list.selected, -1);
}

TEST(StartState, InputIsIgnoredWhileLoadingOrChoosing) {
    std::vector<RowFlags> rows(3);
    for (Mode mode : {Mode::kLoading, Mode::kChoosing}) {
        StartState state;
        state.mode = mode;
        EXPECT_EQ(click(&state, rows, centre(row_rect(0))), Action{});
        EXPECT_EQ(click(&state, rows, centre(layout::kClose)), Action{});
        EXPECT_EQ(state.list.selected, -1);
        EXPECT_EQ(start_key(&state, {13, gfx::kKeyChar, 0}), Action{});
    }
}

TEST(StartState, TheNoticeTakesOnlyItsButtonTheCloseButtonAndEnterOrEsc) {
    std::vector<RowFlags> rows(3);
    StartState state;
    state.mode = Mode::kNotice;
    state.notice = {"a line"};
    EXPECT_EQ(click(&state, rows, centre(row_rect(0))), Action{});
    EXPECT_EQ(click(&state, rows, centre(layout::kNew)), Action{});
    EXPECT_EQ(state.list.selected, -1);
    EXPECT_EQ(click(&state, rows, centre(layout::kNoticeOk)), Action{ActionKind::kDismissNotice});
    EXPECT_EQ(click(&state, rows, centre(layout::kClose)), Action{ActionKind::kClose});
    EXPECT_EQ(start_key(&state, {'x', gfx::kKeyChar, 0}), Action{});
    for (uint32_t code : {13u, 27u}) {
        EXPECT_EQ(start_key(&state, {code, gfx::kKeyChar, 0}), Action{ActionKind::kDismissNotice});
    }
}

TEST(StartState, LongListScrollsByWheelAndArrowsWithinBounds) {
    std::vector<RowFlags> rows(20);
    StartState state;
    Point inside = centre(layout::kList);
    for (int i = 0; i < 30; ++i) start_mouse(&state, rows, wheel(inside.x, inside.y, -120));
    EXPECT_EQ(state.list.first_visible, 20 - layout::kVisibleRows);
    // The last entry is now reachable by clicking.
    Point last = centre(row_rect(layout::kVisibleRows - 1));
    EXPECT_EQ(click(&state, rows, last), (Action{ActionKind::kOpenRecent, 19}));
    EXPECT_EQ(click(&state, rows, centre(layout::kScrollUp)), Action{});
    EXPECT_EQ(state.list.first_visible, 19 - layout::kVisibleRows);
    for (int i = 0; i < 30; ++i) start_mouse(&state, rows, wheel(inside.x, inside.y, 120));
    EXPECT_EQ(state.list.first_visible, 0);
    // The wheel outside the list does not scroll it.
    Point outside = centre(layout::kNew);
    start_mouse(&state, rows, wheel(outside.x, outside.y, -120));
    EXPECT_EQ(state.list.first_visible, 0);

    scroll_to(&state, 20, 15);
    EXPECT_EQ(state.list.first_visible, 15 - layout::kVisibleRows + 1);
    scroll_to(&state, 20, 2);
    EXPECT_EQ(state.list.first_visible, 2);
    // A list that shrank below the window pulls the window back.
    clamp_scroll(&state, 3);
    EXPECT_EQ(state.list.first_visible, 0);
}

TEST(StartState, PathEntryTakesKeysAndItsButtons) {
    std::vector<RowFlags> rows(3);
    StartState state;
    state.mode = Mode::kEntry;
    // The list beneath the entry does not react.
    EXPECT_EQ(click(&state, rows, centre(row_rect(0))), Action{});
    start_key(&state, {'T', gfx::kKeyChar, 0});
    EXPECT_EQ(state.entry.field.text, "T");
    // Enter and Esc come as a key-down and as a character; only one acts.
    EXPECT_EQ(start_key(&state, {13, gfx::kKeyDown, 0}), Action{});
    EXPECT_EQ(start_key(&state, {13, gfx::kKeyChar, 0}), Action{ActionKind::kSubmitEntry});
    EXPECT_EQ(click(&state, rows, centre(layout::kEntryOk)), Action{ActionKind::kSubmitEntry});
    EXPECT_EQ(click(&state, rows, centre(layout::kEntryCancel)), Action{});
    EXPECT_EQ(state.mode, Mode::kList);
    // Keys do nothing on the list page.
    start_key(&state, {'x', gfx::kKeyChar, 0});
    EXPECT_EQ(state.entry.field.text, "T");
    state.mode = Mode::kEntry;
    EXPECT_EQ(start_key(&state, {27, gfx::kKeyChar, 0}), Action{});
    EXPECT_EQ(state.mode, Mode::kList);
}

TEST(StartState, PathEntryEditsWholeCharactersUpToTheStoredPathWidth) {
    StartState state;
    state.mode = Mode::kEntry;
    // "a" + 工 (B9 A4) + 作 (D7 F7) + "b"; the trail byte F7 is also a valid
    // lead byte, so a backwards scan would split the pair.
    for (unsigned char c : std::string("a\xb9\xa4\xd7\xf7"
                                       "b")) {
        start_key(&state, {c, gfx::kKeyChar, 0});
    }
    for (const char* left : {"a\xb9\xa4\xd7\xf7", "a\xb9\xa4", "a", "", ""}) {
        start_key(&state, {8, gfx::kKeyChar, 0});
        EXPECT_EQ(state.entry.field.text, left);
    }
    for (size_t i = 0; i < kMaxPathBytes + 10; ++i) start_key(&state, {'x', gfx::kKeyChar, 0});
    EXPECT_EQ(state.entry.field.text.size(), kMaxPathBytes);
}

}  // namespace
}  // namespace nd::start
