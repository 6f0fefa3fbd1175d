// The board's own stages of the frame: background, grid and origin axes,
// the board's frame, the window's grip and border, and the two overlays
// that stand in for the whole frame.
#include <algorithm>
#include <cstdio>

#include "board/colours.h"
#include "board/frame.h"
#include "board/layout.h"
#include "board/main_view.h"
#include "board/options.h"
#include "board/pictures.h"
#include "board/shapes.h"
#include "board/texts.h"
#include "skins/palette.h"
#include "skins/skin.h"

namespace nd {

namespace {

constexpr int kGridUnits = 100;  // board units between grid lines

gfx::Color page_colour() {
    return palette_color(kPalPageBackground, current_skin());
}

void clear_to(gfx::IMAGE* canvas, gfx::Color colour) {
    gfx::set_bk_color(colour, canvas);
    gfx::clear_image(canvas);
}

void centred_text(gfx::IMAGE* canvas, int width, int height, const char* text) {
    gfx::set_text_align(gfx::kAlignCenter, gfx::kAlignMiddle, canvas);
    gfx::text_out(width / 2, height / 2, text, canvas);
    gfx::set_text_align(gfx::kAlignLeft, gfx::kAlignTop, canvas);
}

}  // namespace

// The board has no background picture of its own: the page colour is it.
void draw_board_background(const MainView&, gfx::IMAGE* canvas) {
    clear_to(canvas, page_colour());
}

void draw_grid_and_axes(const MainView& view, gfx::IMAGE* canvas) {
    const BoardColours& c = board_colours(current_skin());
    const gfx::Rect clip = board_clip(view.width, view.height);
    const int scale = view.zoom.scale;
    if (option_on(kOptionGrid)) {
        const int step = kGridUnits / scale;
        const int lines = std::max(view.width, view.height) / kGridUnits * scale + 1;
        // In phase with the origin, so the grid moves with the board.
        const int x0 = ((view.origin_x % step) + step) % step;
        const int y0 = ((view.origin_y % step) + step) % step;
        for (int i = 0; i < lines; ++i) {
            const int x = x0 + i * step, y = y0 + i * step;
            if (x < clip.right()) vline(canvas, x, clip.y, clip.bottom() - 1, c.grid);
            if (y < clip.bottom()) hline(canvas, clip.x, clip.right() - 1, y, c.grid);
        }
    }
    if (option_on(kOptionGlobalAxes)) {
        if (view.origin_y >= clip.y && view.origin_y < clip.bottom()) {
            hline(canvas, clip.x, clip.right() - 1, view.origin_y, c.axis);
        }
        if (view.origin_x >= clip.x && view.origin_x < clip.right()) {
            vline(canvas, view.origin_x, clip.y, clip.bottom() - 1, c.axis);
        }
        gfx::set_font(13, 0, texts::kYaHei, canvas);
        gfx::set_color(c.axis, canvas);
        gfx::text_out(view.origin_x + 3, view.origin_y, texts::kOriginLabel, canvas);
    }
}

void draw_board_frame(const MainView& view, gfx::IMAGE* canvas) {
    outline(canvas, board_clip(view.width, view.height), board_colours(current_skin()).frame);
}

void draw_grip_and_border(const MainView& view, gfx::IMAGE* canvas) {
    const gfx::Rect grip = grip_rect(view.width, view.height);
    place(canvas, resize_grip_picture(view.pictures), grip.x, grip.y);
    if (view.border) {
        outline(canvas, gfx::Rect{0, 0, view.width, view.height},
                board_colours(current_skin()).frame);
    }
}

void draw_resize_overlay(const MainView& view, gfx::IMAGE* canvas) {
    clear_to(canvas, page_colour());
    char text[32];
    std::snprintf(text, sizeof text, "%d x %d", view.resize_width, view.resize_height);
    gfx::set_font(45, 0, texts::kTahoma, canvas);
    gfx::set_color(kResizeOverlayText, canvas);
    centred_text(canvas, view.width, view.height, text);
    outline(canvas, gfx::Rect{0, 0, view.width, view.height}, board_colours(current_skin()).frame);
    const gfx::Rect grip = grip_rect(view.width, view.height);
    place(canvas, resize_grip_picture(view.pictures), grip.x, grip.y);
}

void draw_size_hint(const MainView& view, gfx::IMAGE* canvas) {
    clear_to(canvas, page_colour());
    const gfx::Color border = board_colours(current_skin()).hint;
    for (int inset = 0; inset < 3; ++inset) {
        outline(canvas,
                gfx::Rect{inset, inset, view.width - 2 * inset, view.height - 2 * inset}, border);
    }
    gfx::set_font(26, 0, texts::kYaHei, canvas);
    gfx::set_color(palette_color(kPalPanelText, current_skin()), canvas);
    centred_text(canvas, view.width, view.height, texts::kSizeHint);
}

}  // namespace nd
