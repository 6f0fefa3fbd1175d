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
    int bold_extra = 0;  // the width synthetic bold added, already in `advance`
    std::vector<uint8_t> coverage;
};

// The glyphs of one way of rendering: the same face files at the same size,
// weight and slant. Every font record that renders alike shares one.
struct GlyphSet {
    Glyph ascii[128];
    bool ascii_ready[128] = {};
    std::unordered_map<uint32_t, Glyph> others;
};

// A font record resolved. The FreeType faces are shared by every record
// that uses the same face file, and their sizes by every record that uses
// the same file at the same size: a face file is opened once however many
// records name it.
struct FontFace {
    FontRecord record{};  // the record this face was made from
    FT_Face primary = nullptr;
    FT_Face fallback = nullptr;  // a CJK face for characters the primary lacks
    FT_Size primary_size = nullptr;
    FT_Size fallback_size = nullptr;
    bool slant = false;  // sheared to stand in for a missing italic
    int ascent = 0, descent = 0, cell = 0;
    int fixed_advance = 0;  // >0: every byte of a character advances this much
    bool synth_bold = false;
    bool underline = false, strike_out = false;
    int rule_thickness = 1, underline_offset = 1, strike_offset = 0;
    GlyphSet* glyphs = nullptr;
};

namespace detail {

// The face for a font record, made on first use and kept for the life of the
// process. nullptr only when no usable font is installed at all.
FontFace* face_for(const FontRecord& record);

// The glyph of a code point, rendered on first use.
const Glyph& glyph_of(FontFace* face, uint32_t code);

}  // namespace detail
}  // namespace gfx
