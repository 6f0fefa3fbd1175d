// Drawing content documents: the editor with its caret, selection and
// scroll bar, and the same lines for any other view of a Case's content
// (a card that shows a Case's first lines and previews).
#pragma once

#include "content/editor.h"
#include "gfx/gfx.h"

namespace nd::content {

struct EditorColors {
    gfx::Color background;
    gfx::Color text;
    gfx::Color selection;   // background of selected text and attachment lines
    gfx::Color attachment;  // file and titled link names
    gfx::Color pending;     // "等待标题..." of a link awaiting its title
    gfx::Color bar_track;
    gfx::Color bar_thumb;
};

// The colours of skin 0..3 (BLACK, CAKE, STARS, WHITE).
EditorColors editor_colors(int skin);

// The editor font's cell width (the width of "a" in the 16-pixel "宋体"
// face) and its height, measured through the graphics layer. The host adds
// its skin's spacing to the height to make the row height of Metrics.
void editor_font_size(int* cell_width, int* font_height);

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// What to show over the lines.
struct DrawMarks {
    int first_row = 0;
    Selection selection;
    int caret_line = -1;    // the line holding the caret, -1 none
    int caret_column = 0;   // byte column of the caret
    bool caret_on = false;  // the on half of the blink
};

// Draws the laid-out document into `rect` of `target` (null: the current
// target): background, text lines in the 16-pixel "宋体" face at the
// metrics' cell width, file and titled link names in bold in the attachment
// colour, "等待标题..." in bold for a link awaiting its title, pictures at
// their shown size (inverted when selected or holding the caret, clipped
// when partly above the first row), the selection and the caret. The
// target's drawing state is left as it was.
void draw_document(const Document& doc, const Layout& layout, const HeldPreviews& previews,
                   const Metrics& metrics, const DrawMarks& marks, const EditorColors& colors,
                   gfx::IMAGE* target, const Rect& rect);

// The editor: the document with its caret and selection, and the 10-pixel
// scroll bar at the right edge. `blink_on` is the pulse's phase; the host
// passes false while a dialog holds the input.
void editor_draw(const EditorState& e, const EditorColors& colors, bool blink_on,
                 gfx::IMAGE* target, const Rect& rect);

}  // namespace nd::content
