// A scrolling list of rows: hover and press on rows, a click selects the
// row, the wheel over the pane and the two arrows beside it scroll by a row,
// and a scroll bar between the arrows shows which part the rows show. The
// caller owns the items and draws each row at list_row_rect().
#pragma once

#include "gfx/gfx.h"
#include "gfx/window/window.h"
#include "ui/button.h"

namespace nd::ui {

struct ListView {
    // Geometry, set by the caller.
    gfx::Rect pane;
    int row_top = 0;     // the first row's distance from the pane's top
    int row_pitch = 1;   // from one row's top to the next
    int row_height = 1;  // a row's own height (rows may leave gaps)
    Button scroll_up;    // used only while the rows do not all fit
    Button scroll_down;

    int count = 0;          // rows in the list
    int first_visible = 0;  // the row shown first
    int hover = -1;         // the row under the pointer, or -1
    int pressed = -1;       // the row the left button went down on, or -1
    int selected = -1;      // the row last clicked, or -1
};

// Rows the pane shows at once.
int list_visible_rows(const ListView& list);
// True while the rows do not all fit, so the arrows and the bar are shown.
bool list_scrolls(const ListView& list);
// Where the `slot`-th shown row is (0 = the first shown).
gfx::Rect list_row_rect(const ListView& list, int slot);

// Sets the number of rows, keeping the scroll window and the selection
// inside them.
void list_set_count(ListView* list, int count);
void list_scroll_by(ListView* list, int rows);
// Brings row `index` into view.
void list_scroll_to(ListView* list, int index);

// What list_update saw: a row index (>= 0) when a row was clicked (it is
// also made the selection), or one of these.
inline constexpr int kListNoClick = -1;
inline constexpr int kListArrowClicked = -2;  // and the list scrolled by a row

// Takes one pointer message. A click on an arrow scrolls by a row; so does
// the wheel over the pane, which is no click.
int list_update(ListView* list, const gfx::MouseMsg& msg);

// Forgets hover and press, for a list that is not taking input.
void list_reset_pointer(ListView* list);

struct ScrollBarLook {
    gfx::Color track = 0;
    gfx::Color thumb = 0;  // also the arrows
};

// The track, its thumb and an arrow head in each arrow's rectangle; nothing
// while the rows all fit.
void draw_scroll_bar(gfx::IMAGE* canvas, const ListView& list, const ScrollBarLook& look);

}  // namespace nd::ui
