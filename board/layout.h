// Where the window's fixed parts lie for a window of W x H. The board is the
// whole client area; the top bar, the caption strip above it and the resize
// grip sit over it, and the hit test looks at them first.
#pragma once

#include "gfx/rect.h"

namespace nd {

// The caption strip is every row above the top bar: dragging it moves the
// window, a double click on it maximises or restores.
inline constexpr int kCaptionHeight = 30;
inline constexpr int kTopBarHeight = 60;
// The resize grip's picture ("RESIZE") is 16 x 16 in the bottom-right corner.
inline constexpr int kGripSize = 16;

constexpr gfx::Rect top_bar_rect(int width) {
    return {0, kCaptionHeight, width, kTopBarHeight};
}

// The board: the whole client area. Board drawing is clipped to it less two
// rows at the bottom, which the window's border and grip keep.
constexpr gfx::Rect board_area(int width, int height) {
    return {0, 0, width, height};
}
constexpr gfx::Rect board_clip(int width, int height) {
    return {0, 0, width, height - 2};
}

// The grip's left and top edges; the hit test wants the pointer strictly
// right of and below them.
constexpr gfx::Rect grip_rect(int width, int height) {
    return {width - kGripSize, height - kGripSize, kGripSize, kGripSize};
}

}  // namespace nd
