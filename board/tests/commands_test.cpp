// The commands that exist now, run the way a user runs them: through a
// card's menu, its accelerators and its colour rows, with the effects read
// back from the workspace's files.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "analysis/panels.h"
#include "analysis/report_panel.h"
#include "analysis/timeline_panel.h"
#include "board/board_switch.h"
#include "board/case_attributes.h"
#include "board/cards.h"
#include "board/commands.h"
#include "board/menu.h"
#include "board/tests/board_fixture.h"
#include "session/menu_objects.h"
#include "store/boards.h"
#include "store/tables.h"

namespace nd {
namespace {

using testing::BoardTest;

constexpr int32_t kToday = 20240315;

MenuTarget on(int object, const CaseRef& ref = CaseRef{}) {
    MenuTarget target;
    target.object = object;
    target.target = ref;
    return target;
}

TEST(CaseAttributes, EachItemSetsItsFieldAndNothingElse) {
    struct Case {
        int item;
        int colour, kind, importance, difficulty, cognition;
    };
    // The record starts as colour 3, kind 110, importance 4, difficulty 2,
    // cognition 2; -1 marks the field the item leaves alone.
    const Case cases[] = {
        {15, 1, -1, -1, -1, -1}, {16, 2, -1, -1, -1, -1}, {17, 3, -1, -1, -1, -1},
        {18, 0, -1, -1, -1, -1}, {25, -1, 0, -1, -1, -1}, {26, -1, 103, -1, -1, -1},
        {27, -1, 101, -1, -1, -1}, {28, -1, 106, -1, -1, -1}, {29, -1, 110, -1, -1, -1},
        {30, -1, -1, 0, -1, -1}, {34, -1, -1, 4, -1, -1}, {39, -1, -1, -1, 0, -1},
        {41, -1, -1, -1, 2, -1}, {42, -1, -1, -1, -1, 0}, {44, -1, -1, -1, -1, 2},
    };
    for (const Case& c : cases) {
        auto record = std::make_unique<CaseRecord>();
        record->colour = 3;
        record->colour_date = 20200101;
        record->kind = 110;
        record->importance = 4;
        record->difficulty = 2;
        record->cognition = 2;
        ASSERT_TRUE(apply_attribute_item(*record, c.item, kToday)) << c.item;
        auto expect = [&](int want, int start, int got, const char* field) {
            EXPECT_EQ(got, want < 0 ? start : want) << "item " << c.item << " " << field;
        };
        expect(c.colour, 3, record->colour, "colour");
        expect(c.colour < 0 ? -1 : kToday, 20200101, record->colour_date, "colour date");
        expect(c.kind, 110, record->kind, "kind");
        expect(c.importance, 4, record->importance, "importance");
        expect(c.difficulty, 2, record->difficulty, "difficulty");
        expect(c.cognition, 2, record->cognition, "cognition");
    }
    auto record = std::make_unique<CaseRecord>();
    for (int item : {6, 13, 35, 38, 45})
        EXPECT_FALSE(apply_attribute_item(*record, item, kToday)) << item;
}

TEST(CaseAttributes, TheReservedColourTogglesAndStampsBothDates) {
    auto record = std::make_unique<CaseRecord>();
    record->colour_date = 20200101;
    EXPECT_EQ(reserved_colour(*record), -1);
    apply_reserved_status(*record, 2, kToday);
    EXPECT_EQ(reserved_colour(*record), 2);
    EXPECT_EQ(record->reserved_date, kToday);
    EXPECT_EQ(record->colour_date, kToday);
    apply_reserved_status(*record, 3, kToday + 1);  // another colour moves the reservation
    EXPECT_EQ(reserved_colour(*record), 3);
    EXPECT_EQ(record->reserved_date, kToday + 1);
    apply_reserved_status(*record, 3, kToday + 2);  // the same colour clears it
    EXPECT_EQ(reserved_colour(*record), -1);
    EXPECT_EQ(record->reserved_colour, -1);
    EXPECT_EQ(record->reserved_date, 0);
}

class CommandTest : public BoardTest {
protected:
    // Opens card `card`'s menu at the card.
    void open_card_menu(int card) {
        const gfx::Rect& r = view.cards[size_t(card)].rect;
        open_menu_at(view, kHitFirstCard + card, r.x + 5, r.y + 5);
        ASSERT_TRUE(menu_is_open(view));
    }
    const MenuEntry* entry_of(int item) {
        for (int i = 0; i < view.menu.count; ++i)
            if (view.menu.entries[size_t(i)].item == item) return &view.menu.entries[size_t(i)];
        return nullptr;
    }
    void click(int x, int y) {
        menu_pointer(view, {x, y, gfx::kMouseMove, 0, 0});
        menu_pointer(view, {x, y, gfx::kMouseDown, gfx::kMouseLeft, 0});
        menu_pointer(view, {x, y, gfx::kMouseUp, gfx::kMouseLeft, 0});
    }
    bool refresh_posted(uint32_t panels) {
        BoardRequest r;
        while (take_request(&r))
            if (r.kind == RequestKind::kRefreshPanels && r.panels == panels) return true;
        return false;
    }
};

TEST_F(CommandTest, AColourRowSetsTheColourWithTodaysDateOnDisk) {
    const CaseRef a = add_case("A");
    open_card_menu(0);
    const MenuEntry* red = entry_of(16);
    ASSERT_NE(red, nullptr);
    click(red->x + 40, red->y + 10);
    EXPECT_FALSE(menu_is_open(view));
    EXPECT_EQ(stored(a).colour, 2);
    EXPECT_EQ(stored(a).colour_date, today_yyyymmdd());
    EXPECT_TRUE(refresh_posted((1u << kPanelLeftBar) | (1u << kPanelAssessment)));
}

// An overdue Case takes its overdue colour when loaded; a colour the user
// sets today is not taken back by that rule, today or at the next load.
TEST_F(CommandTest, AColourSetOnAnOverdueCaseStays) {
    const CaseRef a = add_case("A");
    CaseRecord* record = find_case(0, 0, a.where.slot);
    record->due_date = 20000101;
    record->overdue_status = 2;
    record->colour = 2;
    record->colour_date = 20000102;
    ASSERT_EQ(save_case(0, 0, 0, a.where.slot), 0);
    run_command(view, 15, on(kHitFirstCard, a));
    CaseRecord on_disk = stored(a);
    EXPECT_EQ(on_disk.colour, 1);
    EXPECT_FALSE(overdue_rule(on_disk, today_yyyymmdd()));
}

TEST_F(CommandTest, TheRightEndOfAColourRowReservesThatColourAndAgainClearsIt) {
    const CaseRef a = add_case("A");
    for (int round = 0; round < 2; ++round) {
        open_card_menu(0);
        const MenuEntry* yellow = entry_of(17);
        ASSERT_NE(yellow, nullptr);
        click(yellow->x + 150, yellow->y + 10);
        const CaseRecord on_disk = stored(a);
        EXPECT_EQ(on_disk.colour, 0) << "the row's own command did not run";
        EXPECT_EQ(reserved_colour(on_disk), round == 0 ? 3 : -1) << round;
    }
}

TEST_F(CommandTest, KindImportanceDifficultyAndCognitionAreSaved) {
    const CaseRef a = add_case("A");
    for (int item : {26, 33, 40, 44}) run_command(view, item, on(kHitFirstCard, a));
    const CaseRecord on_disk = stored(a);
    EXPECT_EQ(on_disk.kind, 103);
    EXPECT_EQ(on_disk.importance, 3);
    EXPECT_EQ(on_disk.difficulty, 1);
    EXPECT_EQ(on_disk.cognition, 2);
}

TEST_F(CommandTest, PinningIsSavedAndTheMenuThenOffersUnpinning) {
    const CaseRef a = add_case("A");
    open_card_menu(0);
    ASSERT_NE(entry_of(13), nullptr);
    click(entry_of(13)->x + 40, entry_of(13)->y + 10);
    EXPECT_EQ(stored(a).pinned, 1);
    open_card_menu(0);
    EXPECT_EQ(entry_of(13), nullptr);
    ASSERT_NE(entry_of(14), nullptr);
    click(entry_of(14)->x + 40, entry_of(14)->y + 10);
    EXPECT_EQ(stored(a).pinned, 0);
}

// "x" and "X" both run 删除(X): the Case leaves its board's list and its
// point file goes; its record and content stay on disk, as the store keeps
// them.
TEST_F(CommandTest, TheDeleteAcceleratorWorksInEitherCase) {
    for (char key : {'x', 'X'}) {
        const CaseRef keep = add_case("keep");
        const CaseRef gone = add_case("gone");
        CasePointFile points;
        ASSERT_EQ(load_points(*find_case(0, 0, gone.where.slot), points), 0);
        const std::string pos = make_points_path(root, gone.key);
        ASSERT_TRUE(file_exists(pos));
        view_state().selected = gone;

        open_card_menu(1);
        menu_key(view, key);
        EXPECT_FALSE(menu_is_open(view)) << key;
        EXPECT_FALSE(board_lists(0, gone)) << key;
        EXPECT_TRUE(board_lists(0, keep)) << key;
        EXPECT_FALSE(file_exists(pos)) << key;
        EXPECT_TRUE(file_exists(make_path(root, gone.key.type, gone.key, 0))) << key;
        EXPECT_TRUE(file_exists(make_path(root, gone.key.type, gone.key, 1))) << key;
        EXPECT_FALSE(same_item(view_state().selected.key, gone.key))
            << "the deleted Case is forgotten";
        EXPECT_TRUE(refresh_posted((1u << kPanelLeftBar) | (1u << kPanelAssessment) |
                                   (1u << kPanelListView)));

        // Next round on an empty board.
        MenuTarget rest = on(kHitFirstCard, keep);
        rest.target.where.slot = 0;
        run_command(view, 6, rest);
        clear_cards();
    }
}

// The three Cases are made in one second, so their identities are equal;
// only the deleted one leaves the list.
TEST_F(CommandTest, ADeletedCaseLeavesTheCtrlListAndTheCasesAfterItKeepTheirEntries) {
    add_case("before");
    const CaseRef gone = add_case("gone");
    const CaseRef after = add_case("after");
    view.ctrl_list.entries[0] = {key_time_value(gone.key), gone.where};
    view.ctrl_list.entries[1] = {key_time_value(after.key), after.where};
    view.ctrl_list.count = 2;
    run_command(view, 6, on(kHitFirstCard + 1, gone));
    ASSERT_EQ(view.ctrl_list.count, 1);
    EXPECT_EQ(view.ctrl_list.entries[0].identity, key_time_value(after.key));
    EXPECT_EQ(view.ctrl_list.entries[0].where.slot, 1);
    const CaseRecord* moved = find_case(0, 0, 1);
    ASSERT_NE(moved, nullptr);
    EXPECT_TRUE(same_item(moved->key, after.key));
}

TEST_F(CommandTest, OtherKeysCloseTheMenuAndChangeNothing) {
    const CaseRef a = add_case("A");
    // "a" is 关联(A), whose links are not built yet; "z" is no item's.
    for (char key : {'a', 'z', '1'}) {
        open_card_menu(0);
        menu_key(view, key);
        EXPECT_FALSE(menu_is_open(view)) << key;
        EXPECT_TRUE(board_lists(0, a)) << key;
        EXPECT_EQ(stored(a).colour, 0) << key;
    }
}

TEST_F(CommandTest, AClickOutsideTheMenuClosesItAndRunsNothing) {
    const CaseRef a = add_case("A");
    open_card_menu(0);
    const gfx::Rect box = view.menu.box;
    EXPECT_TRUE(menu_pointer(view, {box.right() + 10, box.y + 10, gfx::kMouseDown,
                                    gfx::kMouseLeft, 0}));
    EXPECT_FALSE(menu_is_open(view));
    EXPECT_TRUE(board_lists(0, a));
}

// A target whose slot holds another Case by now is left alone.
TEST_F(CommandTest, ACommandOnACaseThatIsGoneDoesNothing) {
    const CaseRef a = add_case("A");
    CaseRef stale = a;
    stale.key.serial ^= 0x5555;
    for (int item : {6, 13, 16, 26, 53}) {
        MenuTarget target = on(kHitFirstCard, stale);
        target.colour = 1;
        run_command(view, item, target);
    }
    EXPECT_TRUE(board_lists(0, a));
    EXPECT_EQ(stored(a).colour, 0);
    EXPECT_EQ(stored(a).kind, 0);
    EXPECT_EQ(stored(a).pinned, 0);
    open_menu_at(view, kHitFirstCard + 5, 10, 10);  // no such card
    EXPECT_FALSE(menu_is_open(view));
}

TEST_F(CommandTest, QuitAsksTheProgramToEnd) {
    MenuTarget caption = on(kHitCaption);
    run_command(view, 19, caption);
    EXPECT_TRUE(view.quit_requested);
}

// Deleting a category that holds Cases deletes them first and leaves no
// list entry without its files; the workspace then loads cleanly.
TEST_F(CommandTest, DeletingAnotherCategoryDeletesItsCasesThenTheCategory) {
    const LocationRef second = add_board("B", nullptr, 0, -1);
    ASSERT_EQ(second.flag, 0);
    const CaseRef here = add_case("here");
    const CaseRef there1 = add_case("there 1", second.board);
    const CaseRef there2 = add_case("there 2", second.board);
    MenuTarget category = on(kMenuCategory);
    category.target.where = {0, 0, second.board, -1};
    run_command(view, 3, category);
    EXPECT_EQ(find_board(0, second.board), nullptr);
    EXPECT_EQ(Tables.group_boards[0]->image.keys[second.board].type, kTypeDeleted);
    EXPECT_TRUE(file_exists(make_path(root, there1.key.type, there1.key, 0)));
    EXPECT_TRUE(board_lists(0, here));

    clear_tables();
    set_workspace_root(root);
    RepairNotes notes;
    EXPECT_EQ(repair_workspace(&notes), kRepairDone);
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(load_workspace(), kLoadOk);
    EXPECT_TRUE(file_exists(make_path(root, there2.key.type, there2.key, 1)));
}

TEST_F(CommandTest, TheShownCategoryIsDeletedThroughItsCards) {
    const LocationRef second = add_board("B", nullptr, 0, -1);
    ASSERT_EQ(second.flag, 0);
    view_state().board = second.board;
    const CaseRef a = add_case("a", second.board);
    const CaseRef b = add_case("b", second.board);
    const Board list_before = stored_board(second.board);
    EXPECT_EQ(list_before.case_count, 2u);
    MenuTarget category = on(kMenuCategory);
    category.target.where = {0, 0, second.board, -1};
    run_command(view, 3, category);
    EXPECT_EQ(find_board(0, second.board), nullptr);
    EXPECT_TRUE(file_exists(make_path(root, a.key.type, a.key, 0)));
    EXPECT_TRUE(file_exists(make_path(root, b.key.type, b.key, 0)));
    // The board shown is gone, so the first category is shown instead; its
    // switch finishes before the tables go.
    for (int i = 0; i < 500 && view.switching.job && !switch_take_result(view); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

TEST_F(CommandTest, TheFirstCategoryAndAnOnlyCategoryAreKept) {
    MenuTarget first = on(kMenuCategory);
    first.target.where = {0, 0, 0, -1};
    run_command(view, 2, first);  // the first row, and the only category
    EXPECT_NE(find_board(0, 0), nullptr);
    const LocationRef second = add_board("B", nullptr, 0, -1);
    run_command(view, 2, first);
    EXPECT_NE(find_board(0, 0), nullptr) << "never the first row";
    EXPECT_NE(find_board(0, second.board), nullptr);
}

// 评估(D)... opens the report window on the Case; a Case that is gone by
// then opens nothing.
TEST_F(CommandTest, AssessOpensTheReportWindowOnItsCase) {
    install_analysis_panels(view.width, view.height);
    const CaseRef a = add_case("A");
    const CaseRef b = add_case("B");
    run_command(view, 37, on(kHitFirstCard, CaseRef{b.where, a.key}));
    EXPECT_FALSE(panel_open(kPanelAssessment));
    run_command(view, 37, on(kHitFirstCard, a));
    EXPECT_TRUE(panel_open(kPanelAssessment));
    EXPECT_EQ(report_panel_state().caption, "\xC6\xC0\xB9\xC0 - A");  // 评估 - A
    // The panels stay out of the other tests' hit tests.
    view_state().panels = ui::PanelList{};
}

// The strip follows the board: a selected card selects its Case there, and
// a deleted top card hands the selection to the next.
TEST_F(CommandTest, TheTimelineFollowsTheBoardsSelection) {
    install_analysis_panels(view.width, view.height);
    const CaseRef a = add_case("A");
    const CaseRef b = add_case("B");
    const Timeline& strip = timeline_panel_state().timeline;
    select_card(view, 1);
    EXPECT_TRUE(panel_open(kPanelTimeline));
    EXPECT_TRUE(same_item(strip.selected_key, b.key));
    EXPECT_EQ(strip.entries.size(), 2u);
    run_command(view, 6, on(kHitFirstCard, b));
    EXPECT_TRUE(same_item(strip.selected_key, a.key));
    view_state().panels = ui::PanelList{};
}

}  // namespace
}  // namespace nd
