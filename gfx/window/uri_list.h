// File lists as desktop programs put them on the clipboard: text/uri-list
// (one URI a line, CR LF between lines, '#' starting a comment) and the file
// managers' x-special/gnome-copied-files ("copy" or "cut" on the first line,
// then the URIs one a line).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/window/clipboard.h"

namespace gfx {

// The local path of a file URI: "file:///p", "file://localhost/p",
// "file://<this host>/p" or "file:/p", percent escapes decoded. False for
// other schemes, other hosts, a malformed escape, an escaped NUL or a
// relative path.
bool file_uri_to_path(std::string_view uri, std::string* path);

// The local files of a text/uri-list, in order, at most `max` of them. Lines
// that are not local file URIs are skipped.
std::vector<std::string> parse_uri_list(std::string_view text, size_t max);

// Parses x-special/gnome-copied-files (and its twin from another desktop,
// x-special/mate-copied-files): the first line says copy or cut; anything
// else there counts as a link-only offer. Paths as parse_uri_list.
FileEffect parse_copied_files(std::string_view text, std::vector<std::string>* paths, size_t max);

}  // namespace gfx
