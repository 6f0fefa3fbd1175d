#include "ui/button.h"

#include <gtest/gtest.h>

#include <vector>

namespace nd::ui {
namespace {

gfx::MouseMsg move(int x, int y) {
    return {x, y, gfx::kMouseMove, 0, 0};
}
gfx::MouseMsg down(int x, int y, uint32_t button = gfx::kMouseLeft) {
    return {x, y, gfx::kMouseDown, button, 0};
}
gfx::MouseMsg up(int x, int y, uint32_t button = gfx::kMouseLeft) {
    return {x, y, gfx::kMouseUp, button, 0};
}

// A click is a left press and a left release, both over the button.
TEST(Button, ClickIsPressAndReleaseOverIt) {
    struct Case {
        const char* name;
        std::vector<gfx::MouseMsg> messages;
        int clicks;
    };
    const Case cases[] = {
        {"press and release inside", {move(5, 5), down(5, 5), up(6, 6)}, 1},
        {"pressed outside, released inside", {down(50, 5), move(5, 5), up(5, 5)}, 0},
        {"pressed inside, released outside", {down(5, 5), move(50, 5), up(50, 5)}, 0},
        {"left and back before the release", {down(5, 5), move(50, 5), move(5, 5), up(5, 5)}, 1},
        {"right button", {down(5, 5, gfx::kMouseRight), up(5, 5, gfx::kMouseRight)}, 0},
        {"released on the right edge", {down(5, 5), up(20, 5)}, 0},
        {"two clicks", {down(5, 5), up(5, 5), down(0, 0), up(0, 0)}, 2},
    };
    for (const Case& c : cases) {
        Button b;
        b.rect = {0, 0, 20, 10};
        int clicks = 0;
        for (const gfx::MouseMsg& m : c.messages) clicks += button_update(&b, m) ? 1 : 0;
        EXPECT_EQ(clicks, c.clicks) << c.name;
        EXPECT_FALSE(b.pressed) << c.name;
    }
}

TEST(Button, LooksFollowHoverAndPress) {
    Button b;
    b.rect = {10, 10, 20, 10};
    EXPECT_EQ(button_look(b), 0);
    button_update(&b, move(15, 15));
    EXPECT_EQ(button_look(b), 1);
    button_update(&b, down(15, 15));
    EXPECT_EQ(button_look(b), 2);
    // Held but off the button: it shows normal, and is still pressed.
    button_update(&b, move(0, 0));
    EXPECT_EQ(button_look(b), 0);
    EXPECT_TRUE(b.pressed);
    button_reset(&b);
    EXPECT_FALSE(b.pressed);
    EXPECT_FALSE(b.hover);
}

}  // namespace
}  // namespace nd::ui
