// The frame renderer: the whole window composed on the view's canvas in one
// fixed order, one function per stage.
#pragma once

#include "gfx/gfx.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

// Composes the frame: the resize overlay, or the lock screen, or the size
// hint, or else the normal frame (board, grid, cards and links, border,
// panels, top bar, selection slots, menu or dialog, loading cards, grip and
// window border, rubber line). Does nothing when nothing changed since the
// last frame. True when the close button was used.
bool compose_frame(MainView& view);

// The stages of the normal frame that the board itself draws.
void draw_board_background(const MainView& view, gfx::IMAGE* canvas);
void draw_grid_and_axes(const MainView& view, gfx::IMAGE* canvas);
void draw_cards_and_links(const MainView& view, gfx::IMAGE* canvas);
void draw_board_frame(const MainView& view, gfx::IMAGE* canvas);
void draw_grip_and_border(const MainView& view, gfx::IMAGE* canvas);
// The overlays that replace the whole frame.
void draw_resize_overlay(const MainView& view, gfx::IMAGE* canvas);
void draw_size_hint(const MainView& view, gfx::IMAGE* canvas);

}  // namespace nd
