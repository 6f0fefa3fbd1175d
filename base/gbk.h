// GBK text, as every record and program string holds it, and its edges to
// UTF-8 (file names, the desktop, terminals). One rule throughout: a byte
// 0x81..0xFE and the byte after it are one character, every other byte is
// a character alone, and no operation splits a pair. A lead byte with
// nothing after it is a character of one byte.
//
// Bad bytes: on the way out (drawing, UTF-8) a character that is not GBK
// becomes U+FFFD, so the result is always valid UTF-8; on the way in a
// character GBK has no form for is refused, never guessed or replaced by
// '?'.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace nd {

inline constexpr uint32_t kReplacementCharacter = 0xFFFD;

// True for a byte that starts a two-byte character.
constexpr bool gbk_lead_byte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

// True for a byte that may follow a lead byte in a pair.
constexpr bool gbk_trail_byte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// The length (1 or 2) of the character that starts at `at`; 0 at the end.
size_t gbk_char_length(std::string_view text, size_t at);

// Where the character before `at` starts (0 for `at` 0). Found by walking
// from the start, because a trail byte can look like a lead byte.
size_t gbk_char_before(std::string_view text, size_t at);

// The length of the longest start of `text` that holds at most `limit`
// bytes and ends on a character boundary: the boundary at or before
// `limit`, never inside a pair.
size_t gbk_fit(std::string_view text, size_t limit);

// The length of `text` without its last `count` characters (0 when it has
// no more).
size_t gbk_cut_last(std::string_view text, size_t count);

// Copies `text` into a fixed record field of `width` bytes: zero-filled, at
// most width - 1 bytes kept, cut before a character that would not fit
// whole. Returns the bytes kept.
size_t gbk_copy_field(char* field, size_t width, std::string_view text);

// The text of a fixed field: up to its first zero or its width.
std::string field_text(const char* field, size_t width);

// The Unicode code point of the character at `at`, and its length in
// `*length` (0 at the end, where the result is 0). A pair or a single byte
// that is no GBK character reads as U+FFFD.
uint32_t gbk_decode(std::string_view text, size_t at, size_t* length);

// Appends the UTF-8 form of the code point `code` to `*out`.
void append_utf8(uint32_t code, std::string* out);

// UTF-8 of GBK text, U+FFFD for every character that is not GBK.
std::string gbk_to_utf8(std::string_view gbk);

// Appends the GBK form of `utf8` to `*out`. A character GBK cannot hold, and
// a malformed UTF-8 sequence, is refused: nothing is appended for it.
// Returns how many characters were refused (0: all of them converted).
[[nodiscard]] int utf8_to_gbk(std::string_view utf8, std::string* out);

// The GBK form of `utf8` with refused characters left out, for text that
// is shown or typed, where one foreign character must not lose the rest.
std::string gbk_of(std::string_view utf8);

}  // namespace nd
