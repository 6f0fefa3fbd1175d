#include "gfx/rect.h"

#include <gtest/gtest.h>

namespace gfx {
namespace {

// The four corners and the middles of the edges of {10, 20, 30, 40}, plus
// the points just inside and outside them.
TEST(GfxRect, EdgesForBothKindsOfHit) {
    const Rect r{10, 20, 30, 40};
    struct Case {
        int x, y;
        bool contains, strictly;
    };
    const Case cases[] = {
        {10, 20, true, false},  // top-left corner: inside the half-open rectangle
        {11, 21, true, true},   {39, 59, true, true},   {40, 59, false, false},  // right edge
        {39, 60, false, false},                                                  // bottom edge
        {10, 40, true, false},                                                   // on the left edge
        {25, 20, true, false},                                                   // on the top edge
        {9, 40, false, false},  {25, 19, false, false}, {25, 40, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(r.contains(c.x, c.y), c.contains) << c.x << "," << c.y;
        EXPECT_EQ(r.strictly_contains(c.x, c.y), c.strictly) << c.x << "," << c.y;
    }
}

TEST(GfxRect, EdgesAndIntersection) {
    const Rect r = Rect::from_edges(2, 3, 12, 8);
    EXPECT_EQ(r, (Rect{2, 3, 10, 5}));
    EXPECT_EQ(r.right(), 12);
    EXPECT_EQ(r.bottom(), 8);
    EXPECT_EQ(r.intersect(Rect{-5, 5, 10, 100}), Rect::from_edges(2, 5, 5, 8));
    // Apart: the result is empty and holds nothing.
    const Rect apart = r.intersect(Rect{20, 20, 5, 5});
    EXPECT_TRUE(apart.empty());
    EXPECT_FALSE(apart.contains(20, 20));
    // A right edge left of the left one is empty, never a wrapped rectangle.
    EXPECT_TRUE(Rect::from_edges(5, 0, 3, 4).empty());
    EXPECT_FALSE(Rect::from_edges(5, 0, 3, 4).contains(4, 1));
}

}  // namespace
}  // namespace gfx
