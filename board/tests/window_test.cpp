// Window management and the keyboard: the resize mode's steps, maximise and
// restore, the top bar's buttons, the about page, and keys reaching an open
// menu, all on a headless window with keys fed through the input queue.
#include <gtest/gtest.h>

#include "analysis/search_panel.h"
#include "board/about_page.h"
#include "board/keyboard.h"
#include "board/menu.h"
#include "board/tests/board_fixture.h"
#include "board/top_bar.h"
#include "board/top_bar_look.h"
#include "board/window_mgmt.h"
#include "gfx/window/input_queue.h"
#include "gfx/window/key_map.h"
#include "session/menu_objects.h"
#include "session/workspace.h"
#include "skins/pictures.h"
#include "skins/skin.h"

namespace nd {
namespace {

TEST(KeyboardResize, StepsGrowByHalfTruncatedAndAReversalStartsAgainAtOne) {
    ResizeAxis axis;
    int width = 1000;
    std::vector<int> deltas;
    for (int i = 0; i < 8; ++i) {
        const int next = resize_axis_step(&axis, width, 1, 800, 2560);
        deltas.push_back(next - width);
        width = next;
    }
    for (int i = 0; i < 3; ++i) {
        const int next = resize_axis_step(&axis, width, -1, 800, 2560);
        deltas.push_back(next - width);
        width = next;
    }
    const int next = resize_axis_step(&axis, width, 1, 800, 2560);
    deltas.push_back(next - width);
    EXPECT_EQ(deltas, (std::vector<int>{1, 1, 2, 3, 5, 7, 11, 17, -1, -1, -2, 1}));
}

TEST(KeyboardResize, TheSizeStaysWithinTheModesLimitsHoweverLongAKeyIsHeld) {
    struct Case {
        int start, direction, low, high, end;
    };
    const Case cases[] = {
        {2550, 1, 800, 2560, 2560},
        {810, -1, 800, 2560, 800},
        {1430, 1, 600, 1440, 1440},
        {610, -1, 600, 1440, 600},
    };
    for (const Case& c : cases) {
        ResizeAxis axis;
        int size = c.start;
        // Long enough for the step to pass any window, and far past that.
        for (int i = 0; i < 5000; ++i) size = resize_axis_step(&axis, size, c.direction, c.low, c.high);
        EXPECT_EQ(size, c.end) << c.start;
        EXPECT_LE(axis.step, 4096.0f);
    }
}

class WindowTest : public testing::WindowBoardTest {
protected:
    WorkspaceSettings settings;

    void SetUp() override {
        WindowBoardTest::SetUp();
        std::string reason;
        ASSERT_GE(load_workspace_settings(settings, dir + "/ws.wk", &reason), 0) << reason;
        adopt_open_workspace(settings, false);
        ASSERT_EQ(store_window_size(1200, 700), 0);
        lay_out();
        install_about_page(view);
    }
    void TearDown() override {
        release_open_workspace();
        WindowBoardTest::TearDown();
    }

    void key(uint32_t vk, uint32_t kind, uint32_t flags = 0) {
        gfx::push_key_message({vk, kind, flags}, gfx::tick_ms());
    }
    void pointer(int x, int y, uint32_t kind = gfx::kMouseMove, uint32_t flags = 0) {
        gfx::push_mouse_message({x, y, kind, flags, 0}, gfx::tick_ms(), 0);
        view.pointer.x = x;
        view.pointer.y = y;
    }
    // The top bar's part of a click at the middle of `button`.
    void click(int button) {
        const gfx::Rect r = top_bar_places(view).rects[size_t(button)];
        const int x = r.x + r.w / 2, y = r.y + r.h / 2;
        pointer(x, y);
        top_bar_pointer(view, {x, y, gfx::kMouseDown, gfx::kMouseLeft, 0});
        top_bar_pointer(view, {x, y, gfx::kMouseUp, gfx::kMouseLeft, 0});
    }
};

// Ctrl, Alt and Right switch the mode on and grow the window 1, 1, 2 ...;
// letting Alt go ends the mode, and the view follows the new size, which
// is stored with the workspace.
TEST_F(WindowTest, CtrlAltAndTheArrowsResizeAndTheViewFollowsWhenTheModeEnds) {
    key(gfx::kVkControl, gfx::kKeyDown, gfx::kModControl);
    key(gfx::kVkMenu, gfx::kKeyDown, gfx::kModControl);
    for (int i = 0; i < 4; ++i) key(gfx::kVkRight, gfx::kKeyDown, gfx::kModControl);
    key(gfx::kVkRight, gfx::kKeyUp, gfx::kModControl);
    keyboard_step(view);
    EXPECT_EQ(view.window.resize_mode, 1);
    EXPECT_EQ(app.WindowWidth, 1600 + 1 + 1 + 2 + 3);
    EXPECT_EQ(app.WindowHeight, 900);
    key(gfx::kVkDown, gfx::kKeyDown, gfx::kModControl);
    keyboard_step(view);
    EXPECT_EQ(app.WindowHeight, 901);
    EXPECT_EQ(gfx::image_width(gfx::screen_page()), 1607);
    finish_deferred_resize(view);
    EXPECT_EQ(view.width, 1600) << "the view waits for the mode to end";

    key(gfx::kVkDown, gfx::kKeyUp, gfx::kModControl);
    key(gfx::kVkMenu, gfx::kKeyUp, gfx::kModControl);
    keyboard_step(view);
    EXPECT_EQ(view.window.resize_mode, 0);
    finish_deferred_resize(view);
    EXPECT_EQ(view.width, 1607);
    EXPECT_EQ(view.height, 901);
    int w = 0, h = 0;
    ASSERT_TRUE(stored_window_size(&w, &h));
    EXPECT_EQ(w, 1607);
    EXPECT_EQ(h, 901);
}

TEST_F(WindowTest, MaximiseTakesTheWorkAreaAndRestoreGoesBack) {
    app.WindowX = 100;
    app.WindowY = 50;
    app.WindowPlaced = 1;
    click(kTopMaximise);
    EXPECT_EQ(view.window.maximised, 1);
    EXPECT_EQ(app.RunState.load(), kRelayout);
    EXPECT_EQ(app.WindowWidth, 1600);
    EXPECT_EQ(app.WindowHeight, 900);
    EXPECT_EQ(app.WindowPlaced, 0);

    app.RunState.store(kRunning);
    toggle_maximise(view);  // as a double click on the caption strip does
    EXPECT_EQ(view.window.maximised, 0);
    EXPECT_EQ(app.RunState.load(), kRelayout);
    EXPECT_EQ(app.WindowWidth, 1200);
    EXPECT_EQ(app.WindowHeight, 700);
    EXPECT_EQ(app.WindowX, 100);
    EXPECT_EQ(app.WindowY, 50);
    EXPECT_EQ(app.WindowPlaced, 1);
}

TEST_F(WindowTest, TheCloseButtonAsksTheProgramToEnd) {
    click(kTopClose);
    EXPECT_TRUE(view.close_requested);
}

// The bar fits the narrowest window with a Case selected: no two buttons
// overlap and all lie inside the bar.
TEST_F(WindowTest, TheTopBarsButtonsFitTheNarrowestWindow) {
    const CaseRef a = add_case("A");
    find_case(0, 0, a.where.slot)->importance = 1;  // the longest importance text
    view_state().selected = a;
    view.width = kResizeMinWidth;
    const TopBarPlaces places = top_bar_places(view);
    const gfx::Rect bar = {0, 30, 800, 60};
    for (int i = 0; i < kTopButtonCount; ++i) {
        const gfx::Rect& r = places.rects[size_t(i)];
        EXPECT_FALSE(r.empty()) << i;
        EXPECT_EQ(r.intersect(bar), r) << i;
        for (int j = i + 1; j < kTopButtonCount; ++j)
            EXPECT_TRUE(r.intersect(places.rects[size_t(j)]).empty()) << i << " and " << j;
    }
    view_state().selected = CaseRef{};
    EXPECT_TRUE(top_bar_places(view).rects[kTopKind].empty()) << "no Case, no Case buttons";
}

// Where there is room the Case buttons say what they show ("重要性：…");
// at the narrowest window they show the values alone.
TEST_F(WindowTest, TheCaseButtonsNameWhatTheyShowWhereThereIsRoom) {
    const CaseRef a = add_case("A");
    CaseRecord& record = *find_case(0, 0, a.where.slot);
    record.importance = 1;
    view_state().selected = a;
    const std::string value = top_label_text(kTopImportance, record, false);
    EXPECT_EQ(top_label_text(kTopImportance, record, true),
              "\xD6\xD8\xD2\xAA\xD0\xD4\xA3\xBA" + value);  // 重要性：
    EXPECT_EQ(top_label_text(kTopMenu, record, true), "");
    view.width = 1600;
    const TopBarPlaces wide = top_bar_places(view);
    EXPECT_TRUE(wide.named_labels);
    view.width = kResizeMinWidth;
    const TopBarPlaces narrow = top_bar_places(view);
    EXPECT_FALSE(narrow.named_labels);
    EXPECT_LT(narrow.rects[kTopImportance].w, wide.rects[kTopImportance].w);
    view_state().selected = CaseRef{};
}

// A click on the kind label opens the kind menu under it for the selected
// Case; choosing an item saves the kind.
TEST_F(WindowTest, TheKindButtonsMenuSetsTheSelectedCasesKind) {
    const CaseRef a = add_case("A");
    view_state().selected = a;
    click(kTopKind);
    ASSERT_TRUE(menu_is_open(view));
    EXPECT_EQ(view.menu.target.object, kMenuTopKind);
    const gfx::Rect label = top_bar_places(view).rects[kTopKind];
    EXPECT_EQ(view.menu.box.y, label.bottom());
    const MenuEntry* object = nullptr;
    for (int i = 0; i < view.menu.count; ++i)
        if (view.menu.entries[size_t(i)].item == 27) object = &view.menu.entries[size_t(i)];
    ASSERT_NE(object, nullptr);
    const int x = object->x + 40, y = object->y + 10;
    menu_pointer(view, {x, y, gfx::kMouseDown, gfx::kMouseLeft, 0});
    menu_pointer(view, {x, y, gfx::kMouseUp, gfx::kMouseLeft, 0});
    EXPECT_EQ(stored(a).kind, kKindObject);
}

TEST_F(WindowTest, TheMenuFadesInAndTheHoveredItemFadesInAgainWhenItChanges) {
    add_case("A");
    open_menu_at(view, kHitFirstCard, 1000, 100);
    ASSERT_TRUE(menu_is_open(view));
    EXPECT_EQ(view.menu.alpha, 80);
    menu_pointer(view, {900, 50, gfx::kMouseMove, 0, 0});
    std::vector<int> alphas;
    while (menu_animate(view)) alphas.push_back(view.menu.alpha);
    EXPECT_EQ(alphas, (std::vector<int>{96, 112, 128, 144, 160, 176, 192, 208, 224}));
    const MenuEntry& first = view.menu.entries[0];
    menu_pointer(view, {first.x + 10, first.y + 5, gfx::kMouseMove, 0, 0});
    EXPECT_EQ(view.menu.hovered, 0);
    EXPECT_EQ(view.menu.hover_alpha, 80);
    menu_animate(view);
    EXPECT_EQ(view.menu.alpha, 239) << "the pointer is inside";
    EXPECT_EQ(view.menu.hover_alpha, 96);
    const MenuEntry& second = view.menu.entries[1];
    menu_pointer(view, {second.x + 10, second.y + 5, gfx::kMouseMove, 0, 0});
    EXPECT_EQ(view.menu.hover_alpha, 80);
}

// Disabled items are placed faintly; the Case's colour row carries its mark.
TEST_F(WindowTest, TheMenuDrawsDisabledItemsFaintlyAndMarksTheCasesColour) {
    const CaseRef a = add_case("A");
    find_case(0, 0, a.where.slot)->colour = 2;
    // The light skin, where a faint item shows clearly darker on black.
    set_current_skin(kSkinWhite);
    open_menu_at(view, kHitFirstCard, 100, 100);
    while (menu_animate(view)) {
    }
    gfx::IMAGE* canvas = gfx::new_image(1600, 900);
    gfx::set_bk_color(0xFF000000, canvas);
    gfx::clear_image(canvas);
    const MenuEntry* red = nullptr;
    // 评估(D)... shown as an item the menu offers but cannot run.
    MenuEntry* link = nullptr;
    for (int i = 0; i < view.menu.count; ++i) {
        MenuEntry& e = view.menu.entries[size_t(i)];
        if (e.item == 16) red = &e;
        if (e.item == 37) link = &e;
    }
    ASSERT_TRUE(red && link);
    link->enabled = false;
    draw_menu(view, canvas);
    // An empty spot of each row, right of any text: the enabled row shows
    // the item's own fill at the menu's alpha, the disabled one at 64.
    auto brightness = [&](const MenuEntry& e) {
        const gfx::Color c = gfx::get_pixel(e.x + 200, e.y + 14, canvas);
        return ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF);
    };
    EXPECT_LT(brightness(*link), brightness(*red));
    // The mark of colour 2 on the red row.
    int marked = 0;
    for (int dy = 0; dy < 16; ++dy)
        for (int dx = 0; dx < 16; ++dx)
            marked += gfx::get_pixel(red->x + 143 + dx, red->y + 3 + dy, canvas) !=
                      gfx::get_pixel(red->x + 200, red->y + 14, canvas);
    EXPECT_GT(marked, 20);
    gfx::delete_image(canvas);
    set_current_skin(kSkinBlack);
}

// Keys reach an open menu through the hot-key step: an upper-case letter
// runs the item of its lower-case accelerator.
TEST_F(WindowTest, TheHotKeyStepGivesTypedLettersToTheOpenMenu) {
    const CaseRef a = add_case("A");
    open_menu_at(view, kHitFirstCard, 200, 300);
    key('X', gfx::kKeyChar);
    keyboard_step(view);
    EXPECT_FALSE(menu_is_open(view));
    EXPECT_FALSE(board_lists(0, a));
}

// The update check's seam: an offered release shows its version on item 55.
TEST_F(WindowTest, AnOfferedUpdateShowsItsVersionOnTheCheckForUpdatesItem) {
    gfx::IMAGE* canvas = gfx::new_image(1600, 900);
    auto version_pixels = [&] {
        gfx::set_bk_color(0xFF000000, canvas);
        gfx::clear_image(canvas);
        const gfx::Rect logo = top_bar_places(view).rects[kTopLogo];
        open_menu_at(view, kHitTopBar, logo.x + 2, logo.y + 2);
        EXPECT_TRUE(menu_is_open(view));
        draw_menu(view, canvas);
        close_menu(view);
        int n = 0;
        for (uint32_t p : canvas->pixels) n += (p & 0xFFFFFF) == 0x3FD668;
        return n;
    };
    EXPECT_EQ(version_pixels(), 0);
    set_offered_update(view, {true, 6, 0, 1});
    EXPECT_GT(version_pixels(), 0);
    set_offered_update(view, {});
    gfx::delete_image(canvas);
}

// Ctrl+F shows and hides the search panel once it is in the panel list;
// the character Ctrl+F also types goes nowhere.
TEST_F(WindowTest, CtrlFShowsAndHidesTheSearchPanel) {
    install_search_panel();
    for (bool shown : {true, false}) {
        key('F', gfx::kKeyDown, gfx::kModControl);
        key('F' - 64, gfx::kKeyChar, gfx::kModControl);
        keyboard_step(view);
        EXPECT_EQ(ui::panel_find(view_state().panels, kPanelSearch)->visible, shown);
    }
    // Esc reaches the open panel, which closes, wherever the pointer is.
    key('F', gfx::kKeyDown, gfx::kModControl);
    key('F' - 64, gfx::kKeyChar, gfx::kModControl);
    key(gfx::kVkEscape, gfx::kKeyDown);
    key(27, gfx::kKeyChar);
    keyboard_step(view);
    EXPECT_FALSE(ui::panel_find(view_state().panels, kPanelSearch)->visible);
    ui::panel_remove(&view_state().panels, kPanelSearch);
}

TEST_F(WindowTest, TheAboutPageOpensCentredAndEscOverItClosesIt) {
    open_menu_at(view, kHitTopBar, top_bar_places(view).rects[kTopLogo].x + 2,
                 top_bar_places(view).rects[kTopLogo].y + 2);
    ASSERT_TRUE(menu_is_open(view));
    menu_key(view, 'A');
    const ui::Panel* page = ui::panel_find(view_state().panels, kPanelAbout);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->visible);
    EXPECT_EQ(page->rect, (gfx::Rect{800 - 300, 450 - 190, 600, 380}));

    pointer(100, 100);  // Esc away from the page leaves it open
    key(gfx::kVkEscape, gfx::kKeyDown);
    key(27, gfx::kKeyChar);
    keyboard_step(view);
    EXPECT_TRUE(page->visible);
    pointer(800, 450);
    key(gfx::kVkEscape, gfx::kKeyDown);
    key(27, gfx::kKeyChar);
    keyboard_step(view);
    EXPECT_FALSE(page->visible);
}

}  // namespace
}  // namespace nd
