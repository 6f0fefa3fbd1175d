// The gesture table, fed message by message to a view of a known board.
#include "board/pointer.h"

#include <gtest/gtest.h>

#include <mutex>

#include "board/cards.h"
#include "board/hit_codes.h"
#include "board/menu.h"
#include "board/selection_slots.h"
#include "board/testing/view_fixture.h"
#include "board/zoom.h"
#include "store/keys.h"

namespace nd {
namespace {

using testing::SceneCard;

class Pointer : public testing::BoardViewTest {};

int hit(MainView* view, int x, int y) {
    return hit_test(*view, x, y);
}

// A panel of the test's own, counting what reaches it.
struct PanelLog {
    int double_clicks = 0;
};
bool log_double_click(ui::Panel& panel, int, int) {
    ++static_cast<PanelLog*>(panel.state)->double_clicks;
    return true;
}
constexpr ui::PanelHooks kLogHooks = {.double_click = log_double_click};

TEST_F(Pointer, HitTestOrderAndStrictEdges) {
    open({{.title = "front", .x = 400, .y = 300, .colour = kColourGood},
          {.title = "behind, wider", .x = 380, .y = 290, .colour = kColourSevere},
          {.title = "hidden grey", .x = 700, .y = 300, .colour = kColourShelved},
          {.title = "green", .x = 1000, .y = 300, .colour = kColourGood}});
    const gfx::Rect front = card(0).rect;
    const gfx::Rect green = card(3).rect;
    PanelLog log;
    ui::Panel panel{.id = kPanelSearch, .visible = true, .rect = {990, 280, 20, 60},
                    .state = &log, .hooks = &kLogHooks};
    ASSERT_EQ(ui::panel_add(&view_state().panels, panel), ui::kPanelAdded);
    view->colour_shown[kColourShelved] = false;

    struct Case {
        const char* name;
        int x, y, expected;
    };
    const Case cases[] = {
        {"caption strip, above the top bar", 800, 29, kHitCaption},
        {"caption strip wins over the grip column", kWidth - 5, 0, kHitCaption},
        {"top bar", 800, 31, kHitTopBar},
        {"the top bar's top edge is not in it", 800, 30, kHitBackground},
        {"grip", kWidth - 8, kHeight - 8, kHitGrip},
        {"grip's left edge", kWidth - 16, kHeight - 8, kHitBackground},
        {"grip's top edge", kWidth - 8, kHeight - 16, kHitBackground},
        {"the front card over the one behind", front.x + 2, front.y + 2, kHitFirstCard + 0},
        {"a card's left edge", front.x, front.y + 5, kHitFirstCard + 1},
        {"a card's bottom edge", front.x + 5, front.bottom(), kHitBackground},
        {"the card behind, outside the front one", 381, 291, kHitFirstCard + 1},
        {"a card whose colour is switched off", 705, 305, kHitBackground},
        {"a panel over a card", green.x + 2, green.y + 2, kPanelSearch},
        {"the card beside the panel", green.right() - 2, green.y + 2, kHitFirstCard + 3},
        {"background", 100, 700, kHitBackground},
    };
    for (const Case& c : cases) EXPECT_EQ(hit(view, c.x, c.y), c.expected) << c.name;
}

TEST_F(Pointer, CtrlPressesToggleTheListUntilItHoldsTen) {
    std::vector<SceneCard> cards;
    for (int i = 0; i < 11; ++i) cards.push_back({.title = "card", .x = 100 + 120 * i, .y = 400});
    open(cards);
    // Ctrl as the press carries it.
    auto click = [&](int i) {
        send(gfx::kMouseDown, gfx::kMouseLeft | gfx::kModControl, card(i).rect.x + 3,
             card(i).rect.y + 3);
        send(gfx::kMouseUp, gfx::kMouseLeft | gfx::kModControl, card(i).rect.x + 3,
             card(i).rect.y + 3);
    };
    for (int i = 0; i < 9; ++i) click(i);
    ASSERT_EQ(view->ctrl_list.count, 9);
    click(4);  // in the list: it goes, the later ones move up
    ASSERT_EQ(view->ctrl_list.count, 8);
    EXPECT_EQ(view->ctrl_list.entries[4].identity, key_time_value(card(5).ref.key));
    EXPECT_EQ(view->ctrl_list.entries[4].where.slot, 5);
    click(4);
    click(9);
    ASSERT_EQ(view->ctrl_list.count, 10);
    EXPECT_EQ(view->ctrl_list.entries[9].where.slot, 9) << "the tenth entry";

    // Full: neither a new Case nor one in the list changes it, and the
    // press selects the card as any press does.
    const CtrlList before = view->ctrl_list;
    click(10);
    click(0);
    EXPECT_EQ(view->ctrl_list.count, 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(view->ctrl_list.entries[size_t(i)].identity, before.entries[size_t(i)].identity);
    }
    EXPECT_EQ(top(), 0);
}

TEST_F(Pointer, TwoPressesWithinThreeTenthsOfASecondAreADoubleClick) {
    open({{.title = "card", .x = 400, .y = 400}});
    PanelLog log;
    ui::Panel bar{.id = kPanelLeftBar, .visible = true, .rect = {0, 100, 288, 600},
                  .state = &log, .hooks = &kLogHooks};
    ASSERT_EQ(ui::panel_add(&view_state().panels, bar), ui::kPanelAdded);
    struct Case {
        uint64_t interval;
        int double_clicks;
    };
    for (const Case& c : {Case{290, 1}, Case{310, 0}, Case{299, 1}, Case{300, 0}}) {
        log.double_clicks = 0;
        ticks += 5000;
        pointer_message(*view, {100, 300, gfx::kMouseDown, gfx::kMouseLeft, 0}, ticks);
        pointer_message(*view, {100, 300, gfx::kMouseUp, gfx::kMouseLeft, 0}, ticks + 50);
        pointer_message(*view, {100, 300, gfx::kMouseDown, gfx::kMouseLeft, 0},
                        ticks + c.interval);
        pointer_message(*view, {100, 300, gfx::kMouseUp, gfx::kMouseLeft, 0}, ticks + c.interval);
        EXPECT_EQ(log.double_clicks, c.double_clicks) << c.interval << " ms";
    }
    // The two presses must land on the same object.
    log.double_clicks = 0;
    ticks += 5000;
    pointer_message(*view, {400, 600, gfx::kMouseDown, gfx::kMouseLeft, 0}, ticks);
    pointer_message(*view, {100, 300, gfx::kMouseDown, gfx::kMouseLeft, 0}, ticks + 100);
    EXPECT_EQ(log.double_clicks, 0);
}

TEST_F(Pointer, ARightDragPansAndOpensNoMenu) {
    open({{.title = "loose", .x = 400, .y = 400}, {.title = "pinned", .x = 600, .y = 400, .pinned = true}});
    const gfx::Rect loose = card(0).rect, pinned = card(1).rect;
    drag(800, 600, 850, 620, gfx::kMouseRight);
    EXPECT_EQ(view->origin_x, 50);
    EXPECT_EQ(view->origin_y, 20);
    EXPECT_EQ(card(0).rect.x, loose.x + 50);
    EXPECT_EQ(card(0).rect.y, loose.y + 20);
    EXPECT_EQ(card(1).rect, pinned) << "a pinned card keeps its screen place";
    EXPECT_EQ(card(1).board_x, 550) << "and so moves on the board";
    EXPECT_FALSE(menu_is_open(*view));
    EXPECT_TRUE(view->pointer.right_panned);
    EXPECT_EQ(view->pointer.drag, DragState::kIdle);
}

TEST_F(Pointer, LeftDragPansTheBackgroundUpToItsEdge) {
    open({{.title = "card", .x = 400, .y = 400}});
    drag(800, 600, 700, 650);
    EXPECT_EQ(view->origin_x, -100);
    EXPECT_EQ(view->origin_y, 50);
    drag(100, 100 + 30, 100 + 5000, 100 + 5000);
    EXPECT_EQ(view->origin_x, 1945);
    EXPECT_EQ(view->origin_y, 1105);
    EXPECT_EQ(card(0).rect.x, 400 + 1945);
}

TEST_F(Pointer, OnlyTitleCardsMoveByDraggingTheirBody) {
    open({{.title = "title", .x = 400, .y = 400},
          {.title = "window", .x = 700, .y = 300, .form = kFormCase}});
    const gfx::Rect title = card(0).rect, window = card(1).rect;
    drag(title.x + 5, title.y + 5, title.x + 35, title.y + 45);
    EXPECT_EQ(card(0).rect.x, title.x + 30);
    EXPECT_EQ(card(0).rect.y, title.y + 40);
    EXPECT_EQ(card(0).board_x, 430);
    drag(window.x + 50, window.y + 100, window.x + 90, window.y + 140);
    EXPECT_EQ(card(1).rect, window) << "dragging a window card's inside moves nothing";
    EXPECT_EQ(view->origin_x, 0) << "nor the board";
    // Its caption moves it; its grip sizes it, never below 232 x 225.
    drag(window.x + 50, window.y + 10, window.x + 60, window.y + 30);
    EXPECT_EQ(card(1).rect.x, window.x + 10);
    const gfx::Rect moved = card(1).rect;
    drag(moved.right() - 3, moved.bottom() - 3, moved.right() + 47, moved.bottom() - 200);
    EXPECT_EQ(card(1).rect.w, moved.w + 50);
    EXPECT_EQ(card(1).rect.h, kWindowCardMinHeight);
    EXPECT_EQ(card(1).record->window_width, moved.w + 50);
}

TEST_F(Pointer, SelectingWritesBackTheMovedTopCard) {
    open({{.title = "a", .x = 400, .y = 400}, {.title = "b", .x = 700, .y = 400}});
    drag(card(0).rect.x + 5, card(0).rect.y + 5, card(0).rect.x + 25, card(0).rect.y + 5);
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        EXPECT_TRUE(view->moves[0].pending);
        EXPECT_EQ(card(0).record->x, 400) << "the record waits for the autosave";
    }
    press(card(1).rect.x + 5, card(1).rect.y + 5);
    EXPECT_EQ(top(), 1);
    std::lock_guard<std::mutex> hold(StorageLock);
    EXPECT_FALSE(view->moves[0].pending);
    EXPECT_EQ(card(0).record->x, 420);
}

TEST_F(Pointer, TheWindowMovesOnEveryFourthMoveOfACaptionDrag) {
    open({});
    app.WindowX = 100;
    app.WindowY = 50;
    press(500, 10);
    for (int i = 1; i <= 8; ++i) move(500 + i, 10);
    EXPECT_EQ(app.WindowX, 100 + 4 + 8);  // moved at the 4th and the 8th event
    EXPECT_EQ(app.WindowPlaced, 1);
    release(508, 10);
}

TEST_F(Pointer, AGripDragShowsTheSizeAndAsksForANewCanvas) {
    open({});
    press(kWidth - 6, kHeight - 6);
    move(kWidth - 106, kHeight - 56);
    EXPECT_TRUE(view->resizing);
    EXPECT_EQ(view->resize_width, kWidth - 100);
    EXPECT_EQ(view->resize_height, kHeight - 50);
    release(kWidth - 106, kHeight - 56);
    EXPECT_FALSE(view->resizing);
    EXPECT_EQ(app.WindowWidth, kWidth - 100);
    EXPECT_EQ(app.WindowHeight, kHeight - 50);
    EXPECT_EQ(app.RunState.load(), kRecreateCanvas);
    EXPECT_TRUE(view->border);
}

TEST_F(Pointer, TheWheelOverAWindowCardScrollsItsContent) {
    open({{.title = "window", .x = 400, .y = 200, .form = kFormCase, .content = "1\n2\n3\n4\n5\n6\n7"},
          {.title = "title", .x = 100, .y = 500}});
    const gfx::Rect r = card(0).rect;
    send(gfx::kMouseWheel, 0, r.x + 50, r.y + 80, -120);
    EXPECT_EQ(card(0).first_line, 3);
    send(gfx::kMouseWheel, 0, r.x + 50, r.y + 80, 240);
    EXPECT_EQ(card(0).first_line, 0) << "never above the first line";
    send(gfx::kMouseWheel, 0, card(1).rect.x + 5, card(1).rect.y + 5, -120);
    EXPECT_EQ(card(1).first_line, 0);
    EXPECT_FALSE(view->zoom.running) << "a wheel over a card does not zoom";
}

TEST_F(Pointer, WheelZoomsInStepsAndIgnoresASecondNotch) {
    open({{.title = "top", .x = 400, .y = 400}, {.title = "window", .x = 800, .y = 200, .form = kFormCase}});
    const gfx::Rect anchor = card(0).rect;
    auto settle = [&] {
        for (int i = 0; i < 10; ++i) EXPECT_TRUE(zoom_animate(*view));
        EXPECT_FALSE(zoom_animate(*view));
    };
    send(gfx::kMouseWheel, 0, 100, 800, 120);
    EXPECT_FALSE(view->zoom.running) << "wheel up at scale 1 does nothing";
    send(gfx::kMouseWheel, 0, 100, 800, -120);
    ASSERT_TRUE(view->zoom.running);
    EXPECT_EQ(card(1).form, kFormTitle) << "zooming out shows titles";
    zoom_animate(*view);
    send(gfx::kMouseWheel, 0, 100, 800, -120);  // a second notch mid-way
    EXPECT_EQ(view->zoom.target, 2);
    for (int i = 0; i < 9; ++i) zoom_animate(*view);
    EXPECT_FALSE(zoom_animate(*view));
    EXPECT_EQ(view->zoom.scale, 2);
    EXPECT_EQ(card(0).rect.x, anchor.x) << "the top card keeps its place";
    EXPECT_EQ(card(0).rect.y, anchor.y);
    // Board units: 400 apart at scale 1 are 200 apart at scale 2.
    EXPECT_EQ(card(1).rect.x - card(0).rect.x, 200);

    send(gfx::kMouseWheel, 0, 100, 800, -120);
    settle();
    EXPECT_EQ(view->zoom.scale, 4);
    send(gfx::kMouseWheel, 0, 100, 800, -120);
    EXPECT_FALSE(view->zoom.running) << "wheel down at scale 4 does nothing";
    for (int n = 0; n < 2; ++n) {
        send(gfx::kMouseWheel, 0, 100, 800, 120);
        settle();
    }
    EXPECT_EQ(view->zoom.scale, 1);
    EXPECT_EQ(card(1).form, kFormCase) << "back at scale 1 each card has its form again";
    EXPECT_EQ(card(0).rect.x, anchor.x);
}

}  // namespace
}  // namespace nd
