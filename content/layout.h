// Display lines: the content text cut into the lines a view shows, with the
// attachment lines among them. The layout takes the text box's size and the
// font's cell width and row height as numbers, so it never asks a font.
#pragma once

#include <cstdint>
#include <string>

#include "content/document.h"
#include "content/previews.h"

namespace nd::content {

inline constexpr int kMaxDisplayLines = 80;
inline constexpr int kMaxLineBytes = 1023;  // with the line feed that ends the line
inline constexpr int kMaxLineChars = 255;   // the character table also holds its -1 end

struct Metrics {
    int box_width = 0;   // pixels a text line may fill
    int box_height = 0;  // pixels of the text box; pictures taller are shown reduced
    int cell_width = 8;  // width of "a" in the editor font; a two-byte character takes two
    int row_height = 18;
};

struct DisplayLine {
    int kind = kLineText;  // kLineText or the kind of the attachment slot
    int start = 0;         // offset of the line's first byte in the text
    int length = 0;        // bytes, the line feed that ends it included
    int slot = -1;         // attachment lines: the slot number
    int char_count = 0;    // text lines: characters, a two-byte one counting once
    // Start offset of each character within the line, then -1.
    int16_t chars[kMaxLineChars + 1] = {-1};
    int width = 0, height = 0;              // pixels: the preview's size for images
    int shown_width = 0, shown_height = 0;  // pixels as drawn
    int rows = 1;                           // text rows the line occupies
    int first_row = 0;                      // row of the document the line starts on

    bool is_text() const { return kind == kLineText; }
    int end() const { return start + length; }
    // Offset of character `i` in the text; the line's end for i == char_count.
    int char_offset(int i) const { return i >= char_count ? end() : start + chars[i]; }
};

struct Layout {
    DisplayLine lines[kMaxDisplayLines];
    int line_count = 0;
    int rows = 0;    // image rows plus one per other line
    int length = 0;  // the text's length after its end was normalised
    int end = 0;     // offset just past the last laid-out line
};

enum class LayoutMode {
    kFull,    // opening a Case: every preview loaded afresh
    kNormal,  // after an edit: previews already held are reused
    kReload,  // every held preview dropped and loaded again
};

// Rebuilds `out` from the document. The text may change on the way (its end
// normalised, control bytes turned into spaces, the marker of an image whose
// file is gone overwritten by "图片消失" with its slot freed), so the caller
// holds StorageLock. `root` is the workspace root the image paths are under.
void lay_out(Document doc, const std::string& root, const Metrics& metrics, HeldPreviews& previews,
             PreviewSource& source, LayoutMode mode, Layout& out);

// The display line holding `offset` (the last line for offsets at or past
// the laid-out end); -1 for an empty layout.
int line_of_offset(const Layout& layout, int offset);

// The display line drawn on document row `row`, clamped to the layout.
int line_of_row(const Layout& layout, int row);

}  // namespace nd::content
