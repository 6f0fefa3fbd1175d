// Cards in a window form ("case", "照片", "地图"): a window of at least
// 232 x 225 with a caption, the start of the Case's content in its text
// area, the marks of a map, and a grip to resize it by.
#pragma once

#include "board/card.h"
#include "gfx/gfx.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

inline constexpr int kWindowCaptionHeight = 30;
// The text area lies this far in from the card's top-left corner and is
// w - 37 by h - 95.
inline constexpr int kTextAreaLeft = 20;
inline constexpr int kTextAreaTop = 45;

gfx::Rect window_text_area(const gfx::Rect& card);
// Where a press resizes the card: within the grip's 10 pixels of the
// bottom-right corner.
bool in_window_grip(const gfx::Rect& card, int x, int y);

void draw_window_card(const MainView& view, gfx::IMAGE* canvas, const Card& card, bool hot);

// A wheel turn over a window card scrolls its content, three lines a notch
// (delta 120 up). True when the card is a window card.
bool scroll_window_card(Card& card, int delta);

}  // namespace nd
