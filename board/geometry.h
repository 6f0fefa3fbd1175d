// The board's plane: where the origin may go, how board units map to the
// screen at each scale, the board cells, card sizes and the connectors
// between cards. Pure arithmetic, so every rule is tested as a table.
#pragma once

#include <array>

#include "gfx/rect.h"

namespace nd {

// The board reaches 1945 pixels right of and 1105 below its origin at the
// far edges, so the origin stays within [W - 1945, 1945] x [H - 1105, 1105].
inline constexpr int kBoardReachX = 1945;
inline constexpr int kBoardReachY = 1105;
// A card's board cell counts from the board's top-left corner, which lies
// this far left of and above the origin.
inline constexpr int kCellOffsetX = 1855;
inline constexpr int kCellOffsetY = 1025;

struct Point {
    int x = 0;
    int y = 0;
    constexpr bool operator==(const Point&) const = default;
};

constexpr int clamp_origin_x(int x, int width) {
    return x > kBoardReachX ? kBoardReachX : (x < width - kBoardReachX ? width - kBoardReachX : x);
}
constexpr int clamp_origin_y(int y, int height) {
    return y > kBoardReachY ? kBoardReachY
                            : (y < height - kBoardReachY ? height - kBoardReachY : y);
}

// Board units to the screen and back at scale 1, 2 or 4: screen = board /
// scale + origin, board = (screen - origin) * scale.
constexpr int board_to_screen(int board, int origin, int scale) {
    return board / scale + origin;
}
constexpr int screen_to_board(int screen, int origin, int scale) {
    return (screen - origin) * scale;
}

// The cell (column, row) of a card at screen (x, y).
constexpr Point board_cell(int x, int y, int origin_x, int origin_y, int cell_width,
                           int cell_height) {
    return {(x - origin_x + kCellOffsetX) / cell_width, (y - origin_y + kCellOffsetY) / cell_height};
}

// An orthogonal connector: down (or up) from the source's top middle by
// half the height difference, across, and on to the target's top middle, or
// to its bottom middle when the target lies wholly above the source.
using Connector = std::array<Point, 4>;
constexpr Connector connector(const gfx::Rect& source, const gfx::Rect& target) {
    const Point start{source.x + source.w / 2, source.y};
    const bool above = target.y + target.h < source.y;
    const Point end{target.x + target.w / 2, above ? target.y + target.h : target.y};
    // Integer halving truncates toward zero, up or down.
    const int middle = start.y + (end.y - start.y) / 2;
    return {start, Point{start.x, middle}, Point{end.x, middle}, end};
}

}  // namespace nd
