// GBK text at the edges: records hold GBK bytes; terminals and logs take
// UTF-8. Program strings in this folder are written as escaped GBK bytes with
// their UTF-8 reading in a comment beside them.
#pragma once

#include <string>

namespace nd {

// Converts GBK (code page 936) to UTF-8. Bytes that do not decode become
// U+FFFD, so the result is always valid UTF-8.
std::string gbk_to_utf8(const std::string& gbk);

// Converts UTF-8 to GBK; returns false when a character has no GBK form.
bool utf8_to_gbk(const std::string& utf8, std::string& gbk);

// The GBK text of a zero-terminated fixed field.
std::string field_text(const char* field, size_t width);

}  // namespace nd
