// Conversions between the program's GBK text and the UTF-8 of the desktop
// (file names from the chooser, arguments of helper programs).
#pragma once

#include <string>

namespace nd::start {

// Both return 0 on success, -1 when the text has a character the other side
// cannot hold (out is then left empty).
int gbk_to_utf8(const std::string& gbk, std::string* out);
int utf8_to_gbk(const std::string& utf8, std::string* out);

}  // namespace nd::start
