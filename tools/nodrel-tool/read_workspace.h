// What the commands that read a workspace share: loading it without
// changing it, saying why a load failed, and naming Cases and boards as
// "G.B.S" and "G.B".
#pragma once

#include <cstddef>
#include <string>

#include "store/records.h"

namespace tool {

// Loads the workspace of `wk` into the tables without writing, repairing or
// locking anything, so it also works while nodrel has the workspace open.
// Returns 0, or the exit status after saying why on standard error: 2 when
// `wk` is not a .wk path, 1 when the workspace cannot be loaded. The
// workspace's root directory is put in `root` when given.
int load_read_only(const char* command, const char* wk, std::string* root = nullptr);

// Says on standard error why the last load failed with `code`.
void print_load_failure(const char* command, int code);

// Parses "G.B" (parts 2) or "G.B.S" (parts 3) of non-negative numbers.
bool parse_location(const char* text, int parts, nd::LocationRef& out);

std::string location_text(const nd::LocationRef& at);

// The UTF-8 text of a fixed GBK field, for terminals and exported files.
std::string field_utf8(const char* field, size_t width);

}  // namespace tool
