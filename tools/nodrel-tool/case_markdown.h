// A Case's content as Markdown, shared by the Markdown and the canvas
// exports: text lines as they are (in UTF-8), marker lines as links.
#pragma once

#include <functional>
#include <string>

#include "store/records.h"

namespace tool {

// Where the Markdown of an image attachment points (UTF-8, or the bytes of
// a disk path).
using ImageTarget = std::function<std::string(const nd::Attachment& image)>;

std::string content_markdown(const nd::CaseRecord& record, const nd::CaseBody& body,
                             const ImageTarget& image_target);

}  // namespace tool
