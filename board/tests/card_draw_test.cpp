// Which links the frame shows: the top card's, the card under the pointer's
// while Ctrl is down (in dark red), and none to or from a hidden card.
#include "board/card_draw.h"

#include <gtest/gtest.h>

#include "board/colours.h"
#include "board/frame.h"
#include "board/geometry.h"
#include "board/testing/view_fixture.h"

namespace nd {
namespace {

class Links : public testing::BoardViewTest {
protected:
    // The colour at the middle of the connector's first segment, once the
    // frame is composed.
    uint32_t connector_colour(int from, int to) {
        request_redraw(*view);
        compose_frame(*view);
        const Connector c = connector(card(from).rect, card(to).rect);
        const int y = (c[0].y + c[1].y) / 2;
        return gfx::get_pixel(c[0].x, y, canvas) & 0xFFFFFF;
    }
};

TEST_F(Links, TheTopCardsLinksAndTheCtrlHoverOnes) {
    open({{.title = "top", .x = 200, .y = 200, .colour = kColourGood},
          {.title = "middle", .x = 600, .y = 400, .colour = kColourGood},
          {.title = "far", .x = 1000, .y = 700, .colour = kColourSevere}},
         {{0, 1}, {1, 2, true}});
    const uint32_t loose = board_colours(kSkinBlack).link & 0xFFFFFF;
    const uint32_t page = 0x5A5C50;
    EXPECT_EQ(connector_colour(0, 1), loose);
    EXPECT_EQ(connector_colour(1, 2), page) << "only the top card's links show";

    // The pointer over the middle card with Ctrl down.
    send(gfx::kMouseMove, gfx::kModControl, card(1).rect.x + 5, card(1).rect.y + 5);
    EXPECT_EQ(connector_colour(1, 2), kCtrlHoverLinkColour & 0xFFFFFF);
    send(gfx::kMouseMove, 0, card(1).rect.x + 6, card(1).rect.y + 5);
    EXPECT_EQ(connector_colour(1, 2), page);

    // A hidden card shows no links, and none lead to it.
    view->colour_shown[kColourSevere] = false;
    send(gfx::kMouseMove, gfx::kModControl, card(1).rect.x + 5, card(1).rect.y + 5);
    EXPECT_EQ(connector_colour(1, 2), page);
    view->colour_shown[kColourGood] = false;
    EXPECT_EQ(connector_colour(0, 1), page);
}

}  // namespace
}  // namespace nd
