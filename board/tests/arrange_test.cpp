// The four arrangements: where the layout puts each card for the counts and
// mixes where the rules change, and what arranging a real board leaves on
// disk.
#include <gtest/gtest.h>

#include <vector>

#include "board/arrange.h"
#include "board/left_bar.h"
#include "board/testing/view_fixture.h"
#include "store/cases.h"

namespace nd {
namespace {

// The left bar at x 10, 288 wide, top 100: cards start at x 398.
constexpr ArrangeOrigin kOrigin{10, 288, 100};
constexpr int kX0 = 398;
constexpr int kWidth = 100;

std::vector<ArrangeItem> cards(int n, int colour = 0, int difficulty = 0) {
    return std::vector<ArrangeItem>(size_t(n), ArrangeItem{kWidth, 35, colour, difficulty});
}

struct RowCase {
    const char* name;
    Arrangement mode;
    int count;
    int index;  // the card looked at
    Point at;
};

TEST(ArrangeLayout, CompactAndSpacedRows) {
    // 4 columns up to 40 cards, 8 from 41; rows 32 + gap apart; x advances
    // by gap + width + 2.
    const RowCase cases[] = {
        {"one card", Arrangement::kCompact, 1, 0, {kX0, 150}},
        {"fourth of four", Arrangement::kCompact, 4, 3, {kX0 + 3 * 102, 150}},
        {"40: last of 10 rows of 4", Arrangement::kCompact, 40, 39, {kX0 + 3 * 102, 150 + 9 * 32}},
        {"40: fifth starts row 2", Arrangement::kCompact, 40, 4, {kX0, 182}},
        {"41: eighth ends row 1", Arrangement::kCompact, 41, 7, {kX0 + 7 * 102, 150}},
        {"41: the one left over", Arrangement::kCompact, 41, 40, {kX0, 150 + 5 * 32}},
        {"80: last of 10 rows of 8", Arrangement::kCompact, 80, 79, {kX0 + 7 * 102, 150 + 9 * 32}},
        {"spaced 4: 20 more across", Arrangement::kSpaced, 4, 3, {kX0 + 3 * 122, 150}},
        {"spaced 40: 20 more down", Arrangement::kSpaced, 40, 39, {kX0 + 3 * 122, 150 + 9 * 52}},
        {"spaced 41: the one left over", Arrangement::kSpaced, 41, 40, {kX0, 150 + 5 * 52}},
        {"spaced 80", Arrangement::kSpaced, 80, 79, {kX0 + 7 * 122, 150 + 9 * 52}},
    };
    for (const RowCase& c : cases) {
        const std::vector<ArrangeItem> items = cards(c.count);
        const ArrangeResult r = arrange_layout(c.mode, kOrigin, items);
        EXPECT_EQ(r.places[size_t(c.index)], c.at) << c.name;
        EXPECT_EQ(r.group_count, 0) << c.name;
    }
}

TEST(ArrangeLayout, ByDifficultyStacksThreeGroupsInRowsOfThree) {
    // Four easy, no hard, two impossible, given mixed.
    std::vector<ArrangeItem> items = cards(6);
    for (int i : {1, 4}) items[size_t(i)].difficulty = 2;
    const ArrangeResult r = arrange_layout(Arrangement::kByDifficulty, kOrigin, items);
    // Easy: 0, 2, 3, 5 in the order given, from the bar's top + 70.
    EXPECT_EQ(r.places[0], (Point{kX0, 170}));
    EXPECT_EQ(r.places[2], (Point{kX0 + 122, 170}));
    EXPECT_EQ(r.places[3], (Point{kX0 + 244, 170}));
    EXPECT_EQ(r.places[5], (Point{kX0, 222}));
    // One full row and a shorter one: the next group 100 below the shorter
    // row; the empty hard group takes 100 more.
    EXPECT_EQ(r.groups[1].y, 170 + 2 * 52 + 100);
    EXPECT_EQ(r.groups[1].cards, 0);
    EXPECT_EQ(r.places[1], (Point{kX0, 374 + 100}));
    EXPECT_EQ(r.places[4], (Point{kX0 + 122, 474}));
    EXPECT_EQ(r.groups[0].width, 244 + kWidth);
    EXPECT_EQ(r.groups[2].width, 122 + kWidth);
}

TEST(ArrangeLayout, ByColourFillsTwoByTwoGroups) {
    {
        // Only grey: the top-left group alone.
        const std::vector<ArrangeItem> items = cards(6, kColourShelved);
        const ArrangeResult r = arrange_layout(Arrangement::kByColour, kOrigin, items);
        EXPECT_EQ(r.places[0], (Point{kX0, 170}));
        EXPECT_EQ(r.places[3], (Point{kX0 + 3 * 122, 170}));
        EXPECT_EQ(r.places[4], (Point{kX0, 222}));
        EXPECT_EQ(r.groups[0].cards, 6);
        for (int g = 1; g < 4; ++g) EXPECT_EQ(r.groups[size_t(g)].cards, 0) << g;
    }
    {
        // Grey 5 (a full row and one more), green 2, red 1.
        std::vector<ArrangeItem> items = cards(8, kColourShelved);
        items[5].colour = items[6].colour = kColourGood;
        items[7].colour = kColourSevere;
        const ArrangeResult r = arrange_layout(Arrangement::kByColour, kOrigin, items);
        const int grey_width = 3 * 122 + kWidth;
        EXPECT_EQ(r.groups[0].width, grey_width);
        // Red below grey: 32 for the full row, 80 for the shorter one.
        EXPECT_EQ(r.places[7], (Point{kX0, 32 + 80 + 100 + 102}));
        // Green right of the widest left row.
        const int right = grey_width + 10 + 288 + 180;
        EXPECT_EQ(r.places[5], (Point{right, 170}));
        EXPECT_EQ(r.places[6], (Point{right + 122, 170}));
    }
    {
        // Three full grey rows: the red group starts clear of the third.
        std::vector<ArrangeItem> items = cards(13, kColourShelved);
        items[12].colour = kColourSevere;
        const ArrangeResult r = arrange_layout(Arrangement::kByColour, kOrigin, items);
        EXPECT_EQ(r.places[8], (Point{kX0, 170 + 2 * 52}));
        EXPECT_GT(r.places[12].y, 170 + 2 * 52 + 35);
    }
}

TEST(ArrangeLayout, NoCardsPlaceNothing) {
    for (Arrangement mode : {Arrangement::kCompact, Arrangement::kSpaced, Arrangement::kByColour,
                             Arrangement::kByDifficulty}) {
        const ArrangeResult r = arrange_layout(mode, kOrigin, {});
        for (int g = 0; g < r.group_count; ++g) EXPECT_EQ(r.groups[size_t(g)].cards, 0);
    }
}

using testing::BoardViewTest;
using Arrange = BoardViewTest;

TEST_F(Arrange, EveryCardTakesItsTitleFormAndPlaceOnDisk) {
    open({{.title = "front", .x = 900, .y = 700},
          {.title = "photo", .x = 50, .y = 600, .form = kFormPhoto},
          {.title = "map", .x = 1200, .y = 80, .form = kFormMap},
          {.title = "red", .x = 700, .y = 500, .colour = kColourSevere}});
    const int top_before = top();
    arrange_board(*view, Arrangement::kCompact);
    const gfx::Rect bar = left_bar_rect(kWidth, kHeight);
    for (int i = 0; i < view->card_count; ++i) {
        EXPECT_EQ(card(i).form, kFormTitle) << i;
        const CaseRecord disk = stored_case(0, 0, card(i).slot);
        EXPECT_EQ(disk.form & 3, kFormTitle) << i;
        EXPECT_EQ(disk.x, card(i).board_x) << i;
        EXPECT_EQ(disk.y, card(i).board_y) << i;
        EXPECT_EQ(card(i).rect.y, bar.y + 50) << i;
    }
    EXPECT_EQ(top(), top_before);
    EXPECT_EQ(card(top()).rect.x, bar.right() + 100) << "the front card leads";
}

TEST_F(Arrange, NothingMovesWhileTheBoardLoads) {
    open({{.title = "a", .x = 900, .y = 700}, {.title = "b", .x = 50, .y = 600}});
    view->switching.cards_total = 5;  // cards still to be made
    const gfx::Rect before = card(0).rect;
    arrange_board(*view, Arrangement::kSpaced);
    EXPECT_EQ(card(0).rect, before);
    view->switching.cards_total = view->switching.cards_made;
}

TEST_F(Arrange, TheGroupFramesFollowTheBoardAndGoWithIt) {
    open({{.title = "a", .x = 900, .y = 700}, {.title = "b", .x = 50, .y = 600, .colour = kColourGood}});
    arrange_board(*view, Arrangement::kByColour);
    ASSERT_EQ(view->arrange_frames.count, 2);
    arrange_board(*view, Arrangement::kCompact);
    EXPECT_EQ(view->arrange_frames.count, 0);
}

}  // namespace
}  // namespace nd
