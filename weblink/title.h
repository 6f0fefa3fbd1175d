// The title of a fetched page, as an attachment's GBK name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nd::weblink {

// A web-link attachment's name field holds 255 bytes and its terminator.
constexpr size_t kMaxTitleBytes = 255;

// The iconv name of the page's character set: a UTF-8 byte-order mark, else
// the charset of the Content-Type header, else one declared by a <meta> tag,
// else UTF-8. Labels are read as browsers read them (gb2312 as GBK,
// iso-8859-1 as windows-1252); unknown labels fall back to UTF-8.
std::string page_charset(std::string_view page, std::string_view content_type);

// The text of the page's first <title> element in GBK: character references
// (&amp; &lt; &gt; &quot; &apos; &nbsp; &#NN; &#xNN;) decoded, runs of blanks
// made one space, characters without a GBK form dropped, cut to
// kMaxTitleBytes without splitting a character. Empty when there is no
// complete title element or it holds only blanks.
std::string title_from_html(std::string_view page, std::string_view content_type);

}  // namespace nd::weblink
