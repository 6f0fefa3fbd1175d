#include "board/geometry.h"

#include <gtest/gtest.h>

namespace nd {

inline void PrintTo(const Point& p, std::ostream* out) {
    *out << "(" << p.x << ", " << p.y << ")";
}

namespace {

struct ConnectorCase {
    const char* name;
    gfx::Rect source;
    gfx::Rect target;
    Connector expected;
};

// Sources and targets as (x, y, w, h). The connector leaves the source's top
// middle, turns at half the height difference (truncated toward zero) and
// ends at the target's top middle, or its bottom middle when the target
// lies wholly above.
TEST(Connector, FollowsTheSourceAndTargetEdges) {
    const ConnectorCase cases[] = {
        {"below", {100, 100, 80, 30}, {300, 301, 60, 30},
         {{{140, 100}, {140, 200}, {330, 200}, {330, 301}}}},
        // dy = -171 halves to -85, not -86.
        {"wholly above: to the bottom edge", {100, 300, 80, 30}, {300, 100, 60, 29},
         {{{140, 300}, {140, 215}, {330, 215}, {330, 129}}}},
        // The target's bottom (100 + 200) is not above the source's top (300).
        {"bottom exactly on the source's top", {100, 300, 80, 30}, {300, 100, 60, 200},
         {{{140, 300}, {140, 200}, {330, 200}, {330, 100}}}},
        {"overlapping the source's top edge", {100, 300, 80, 30}, {300, 290, 60, 30},
         {{{140, 300}, {140, 295}, {330, 295}, {330, 290}}}},
        {"beside, same row", {100, 300, 80, 30}, {500, 300, 60, 30},
         {{{140, 300}, {140, 300}, {530, 300}, {530, 300}}}},
        {"to the left", {500, 300, 80, 30}, {100, 303, 60, 30},
         {{{540, 300}, {540, 301}, {130, 301}, {130, 303}}}},
        // Odd widths halve down: 81 / 2 = 40, 61 / 2 = 30.
        {"odd widths", {100, 100, 81, 30}, {300, 200, 61, 30},
         {{{140, 100}, {140, 150}, {330, 150}, {330, 200}}}},
        // dy = -3 halves to -1 (toward zero), not -2.
        {"odd rise", {100, 103, 80, 30}, {300, 100, 60, 30},
         {{{140, 103}, {140, 102}, {330, 102}, {330, 100}}}},
    };
    for (const ConnectorCase& c : cases) {
        const Connector got = connector(c.source, c.target);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(got[size_t(i)], c.expected[size_t(i)]) << c.name << ", point " << i;
        }
    }
}

TEST(Origin, StaysWithinTheBoardsReach) {
    struct Case {
        int value, size, expected;
    };
    // [W - 1945, 1945] across, [H - 1105, 1105] down, for W x H = 1600 x 900.
    const Case across[] = {{0, 1600, 0},        {1945, 1600, 1945}, {1946, 1600, 1945},
                           {-345, 1600, -345},  {-346, 1600, -345}, {-100000, 1600, -345},
                           {100000, 800, 1945}, {-1145, 800, -1145}};
    for (const Case& c : across) {
        EXPECT_EQ(clamp_origin_x(c.value, c.size), c.expected) << c.value << " at " << c.size;
    }
    const Case down[] = {{1105, 900, 1105}, {1106, 900, 1105}, {-205, 900, -205},
                         {-206, 900, -205}, {50, 600, 50},     {-506, 600, -505}};
    for (const Case& c : down) {
        EXPECT_EQ(clamp_origin_y(c.value, c.size), c.expected) << c.value << " at " << c.size;
    }
}

TEST(BoardUnits, FollowTheScaleBothWays) {
    EXPECT_EQ(board_to_screen(400, 10, 1), 410);
    EXPECT_EQ(board_to_screen(400, 10, 2), 210);
    EXPECT_EQ(board_to_screen(400, -10, 4), 90);
    EXPECT_EQ(screen_to_board(210, 10, 2), 400);
    EXPECT_EQ(screen_to_board(90, -10, 4), 400);
}

TEST(BoardCell, CountsFromTheBoardsCorner) {
    // The board's corner lies 1855 left of and 1025 above the origin.
    EXPECT_EQ(board_cell(-1855, -1025, 0, 0, 100, 50), (Point{0, 0}));
    EXPECT_EQ(board_cell(-1756, -976, 0, 0, 100, 50), (Point{0, 0}));
    EXPECT_EQ(board_cell(-1755, -975, 0, 0, 100, 50), (Point{1, 1}));
    EXPECT_EQ(board_cell(45, 25, -100, 0, 100, 50), (Point{20, 21}));
}

}  // namespace
}  // namespace nd
