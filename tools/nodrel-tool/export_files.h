// Writing the files of an export: directories, whole text files, copies.
#pragma once

#include <string>

namespace tool {

// Makes `path` and every missing directory above it.
bool make_dir_p(const std::string& path);

// Writes `text` as the whole file at `path`.
bool write_text(const std::string& path, const std::string& text);

// Copies the file at `from` to `to` byte for byte.
bool copy_file(const std::string& from, const std::string& to);

}  // namespace tool
