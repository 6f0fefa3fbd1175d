// The start of a Case's content as a window-form card shows it: the same
// display lines, bold attachment names and picture previews as the editor,
// without caret or selection. The layouts and previews of the cards drawn
// lately are kept, so a card drawn again neither reloads its pictures nor
// allocates.
#pragma once

#include <string>

#include "content/draw.h"
#include "store/records.h"

namespace nd::content {

struct CardLook {
    gfx::Color background;
    gfx::Color text;
};

// Draws the content of the Case `record`/`body` from display line
// `first_line` on into `area` of `canvas`. The Case is copied under
// StorageLock (which the caller must not hold) and laid out from the copy:
// a card only shows its Case, so the layout's mends (a normalised end, a
// vanished picture's marker) never change the Case itself. `root` is the
// workspace root.
void draw_card_content(const CaseRecord& record, const CaseBody& body, const std::string& root,
                       int first_line, const CardLook& look, gfx::IMAGE* canvas,
                       const Rect& area);

// The attachment slot of the line shown at (x, y) of a card's content as
// draw_card_content last drew it (the same Case, first line and area); -1
// when the point shows text, nothing, or the card was not drawn.
int card_attachment_at(const RecordKey& key, int first_line, const Rect& area, int x, int y);

// Releases every kept layout and preview (the workspace is closing).
void release_card_contents();

}  // namespace nd::content
