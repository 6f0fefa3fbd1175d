// The naming rules for workspace files chosen on the start page. The
// extension is everything from the first "." of the file name on, so
// "a.b.wk" has the extension ".b.wk".
#pragma once

#include <string>

namespace nd::start {

// The file name part of a path (after the last "/").
std::string file_name_of(const std::string& path);

// New: a chosen path whose extension is not ".wk" gets ".wk" appended
// ("Team" -> "Team.wk", "a.b" -> "a.b.wk"). -1 when the path names no file.
int path_for_new_workspace(const std::string& chosen, std::string* path);

// Open: only a path whose extension is exactly ".wk" is taken.
bool acceptable_for_open(const std::string& chosen);

}  // namespace nd::start
