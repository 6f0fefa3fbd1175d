// Resolved fonts: a face name and size turned into FreeType faces with cell
// metrics, and their cache of rendered glyphs. Internal to the layer.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "gfx/gfx.h"

namespace gfx {

// A rendered glyph: coverage 0..255 in a box whose top-left corner sits
// `left` pixels right of the pen and `top` pixels above the baseline.
struct Glyph {
    int left = 0, top = 0, width = 0, height = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
};

struct FontFace {
    FontRecord record{};  // the record this face was made from
    FT_Face primary = nullptr;
    FT_Face fallback = nullptr;  // a CJK face for characters the primary lacks
    int ascent = 0, descent = 0, cell = 0;
    int fixed_advance = 0;  // >0: every byte of a character advances this much
    bool synth_bold = false;
    bool underline = false, strike_out = false;
    int rule_thickness = 1, underline_offset = 1, strike_offset = 0;
    Glyph ascii[128];
    bool ascii_ready[128] = {};
    std::unordered_map<uint32_t, Glyph> others;
};

namespace detail {

// The face for a font record, made on first use and kept for the life of the
// process. nullptr only when no usable font is installed at all.
FontFace* face_for(const FontRecord& record);

// The glyph of a code point, rendered on first use.
const Glyph& glyph_of(FontFace* face, uint32_t code);

}  // namespace detail
}  // namespace gfx
