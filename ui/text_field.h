// A one-line GBK text box: the text entry of dialogs, the search box and the
// start page's path entry.
//
// Keys are editing codes (ui/keys.h). Printable ASCII 32..127 goes in at the
// caret. The two bytes of a GBK character arrive as two codes and go in
// together, only when both fit; the middle dot 183, when it does not start
// a pair, goes in as A1 A4. Backspace and Delete remove whole characters,
// Left and Right step over whole characters, and the caret never stands
// inside a character. Ctrl+A selects the whole text, which the next
// character replaces and Backspace or Delete clears; Ctrl+C copies it and
// Ctrl+V pastes clipboard text at the caret, cut to fit. The limit is the
// record field's (its width less the terminating zero) and is never passed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "gfx/gfx.h"

namespace nd::ui {

struct TextField {
    std::string text;           // GBK
    size_t caret = 0;           // byte offset, always on a character boundary
    bool all_selected = false;  // set by Ctrl+A
    size_t max_bytes = 0;       // the most bytes the text may hold
    bool copy_allowed = true;   // password fields refuse Ctrl+C and Ctrl+V
    int pending_lead = 0;       // the first byte of a pair waiting for its second
};

enum class FieldKey {
    kUsed,    // the field took the key (whether or not the text changed)
    kEnter,   // confirm
    kEscape,  // cancel
    kUnused,  // not the field's: Tab, Up, Down and the like are the caller's
};

// Replaces the text (cut to the limit without splitting a character) and
// puts the caret at its end.
void text_field_set(TextField* field, std::string_view gbk);

FieldKey text_field_key(TextField* field, int code);

// Puts clipboard text in at the caret as Ctrl+V does: up to its first line
// break or other control byte (the box holds one line), cut to the room left
// without splitting a character, over the text when it is all selected. For
// callers that read the clipboard themselves, without blocking.
void text_field_paste(TextField* field, std::string_view clip);

struct TextFieldLook {
    gfx::Rect box;
    const char* face = nullptr;  // GBK face name
    int size = 17;
    gfx::Color background = 0xFFFFFFFF;
    gfx::Color border = 0xFF000000;
    gfx::Color ink = 0xFF101010;
    gfx::Color selection = 0xFF9CC8F0;  // behind the text while it is all selected
    int inset = 6;                      // text and caret keep this far from the sides
    int text_y = 7;                     // the text's top inside the box
};

// Draws the box, the text and, with `caret_on`, the caret. A text wider
// than the box shows the part around the caret, so a long path shows its
// end while the caret is there.
void draw_text_field(gfx::IMAGE* canvas, const TextField& field, const TextFieldLook& look,
                     bool caret_on);

}  // namespace nd::ui
