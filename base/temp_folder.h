// The program's own folder in the system's temporary directory.
#pragma once

#include <string>

namespace nd {

// Makes the folder `name` in $TMPDIR, or in /tmp when $TMPDIR is unset or
// cannot hold it; an existing folder is used as it is. 0 with its path
// (ending in '/') in *path, or -1 with `reason` set when neither place can
// hold it.
[[nodiscard]] int make_temp_folder(const std::string& name, std::string* path, std::string* reason);

}  // namespace nd
