// GBK (code page 936) text as the layer draws it: characters of one or two
// bytes, decoded to Unicode only to find glyphs. Internal to the layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace gfx::detail {

// Unicode of the character at `text`, and its length in bytes (1 or 2) in
// `*length`. A lead byte 0x81..0xFE takes the next byte with it when that
// is a trail byte 0x40..0xFE other than 0x7F; a lead byte followed by the
// terminating zero is dropped (length 1, code 0), so a pair is never split.
// Bytes that map to nothing read as '?'.
uint32_t gbk_next(const char* text, int* length);

// Converts a GBK string to UTF-8 (for font names and the like); characters
// that do not convert are left out.
std::string gbk_to_utf8(const char* text);

}  // namespace gfx::detail
