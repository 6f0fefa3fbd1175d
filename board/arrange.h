// The four arrangements of the board's cards ("紧凑(Q)", "间隔(W)",
// "颜色分类(E)", "难度分类(F)"): where each card goes, worked out apart from
// the view so the rules can be checked on their own, and the frames that
// show the groups of the two grouping arrangements.
#pragma once

#include <array>
#include <span>

#include "board/geometry.h"
#include "gfx/gfx.h"
#include "gfx/rect.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

enum class Arrangement : int { kCompact, kSpaced, kByColour, kByDifficulty };

// What the layout needs of the left bar: cards start right of it and below
// its top.
struct ArrangeOrigin {
    int bar_x = 0;
    int bar_width = 0;
    int bar_top = 0;
};

// One card as the layout sees it, already in the title form.
struct ArrangeItem {
    int width = 0;
    int height = 0;
    int colour = 0;      // 0..3
    int difficulty = 0;  // 0..2
};

// A group of a grouping arrangement: its number (the colour or the
// difficulty), the top-left of its first row and its laid-out width and
// height. Empty groups have no cards and no frame.
struct ArrangeGroup {
    int group = -1;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int cards = 0;
};

inline constexpr int kArrangeGroupRoom = 4;

struct ArrangeResult {
    std::array<Point, 80> places{};  // each item's new top-left on the screen
    std::array<ArrangeGroup, kArrangeGroupRoom> groups{};
    int group_count = 0;
};

// Lays out `items` (front first) by `mode`. At most 80 items are placed.
ArrangeResult arrange_layout(Arrangement mode, const ArrangeOrigin& origin,
                             std::span<const ArrangeItem> items);

// The frames of the last grouping arrangement on the board shown, in board
// units so they pan with the cards; none after the compact and spaced
// arrangements or on another board.
struct ArrangeFrames {
    int group = -1;  // the whiteboard they belong to
    int board = -1;
    bool by_colour = false;
    std::array<ArrangeGroup, kArrangeGroupRoom> frames{};
    int count = 0;
};

// Arranges the cards of the board shown: every card takes the title form,
// is placed, and its record is saved; the top card is selected again and
// the view re-clamped. Nothing happens while the board loads or without
// cards.
void arrange_board(MainView& view, Arrangement mode);
// Draws the group frames of the board shown.
void draw_arrange_frames(const MainView& view, gfx::IMAGE* canvas);

}  // namespace nd
