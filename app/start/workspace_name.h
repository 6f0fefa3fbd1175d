// The naming rules for workspace files chosen on the start page.
#pragma once

#include <string>

namespace nd::start {

// The file name part of a path (after the last "/").
std::string file_name_of(const std::string& path);

// New: a chosen file name that does not end in ".wk" gets ".wk" appended
// ("Team" -> "Team.wk", "a.b" -> "a.b.wk"); one that does is kept, so a name
// never ends up with the extension twice. -1 when the path names no file or
// the name is only ".wk".
[[nodiscard]] int path_for_new_workspace(const std::string& chosen, std::string* path);

// Open: the extension is everything from the first "." of the file name on,
// and only exactly ".wk" after a name is taken, so "a.b.wk" and ".wk" are
// refused.
bool acceptable_for_open(const std::string& chosen);

}  // namespace nd::start
