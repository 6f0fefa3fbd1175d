// Button captions, drawn with the graphics layer's text so the pictures use
// the same faces as the rest of the interface.
#pragma once

#include <cstdint>

#include "skins/gen/canvas.h"

namespace skingen {

// The caption of a role's buttons (GBK), or null for a button without one.
const char* label_for(const char* stem);

// Width in pixels of `text` in the interface face at `size`.
int label_width(const char* text, int size);

// Draws `text` with its left edge at x, vertically centred on cy.
void draw_label(Canvas& canvas, const char* text, float x, float cy, int size, uint32_t ink);

}  // namespace skingen
