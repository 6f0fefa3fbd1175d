// Conversions between the programs' GBK text and the UTF-8 that SDL speaks.
#pragma once

#include <string>

namespace gfx {

// Appends the GBK bytes of `utf8` to `out`, a two-byte character as lead
// byte then trail byte. Characters GBK cannot hold, and malformed UTF-8, are
// dropped whole rather than mangled. Returns the number of characters dropped.
int utf8_to_gbk(const std::string& utf8, std::string* out);
// The GBK text of `utf8`, with the same dropping rule.
std::string gbk_of(const std::string& utf8);

// UTF-8 of GBK text; bytes that do not form a GBK character become '?'.
std::string gbk_to_utf8(const std::string& gbk);

}  // namespace gfx
