// The products one updater can serve: which release path each downloads,
// its window caption and the files it replaces in the program directory.
#pragma once

#include <cstdint>
#include <string>

#include "update/protocol.h"

namespace nd {

struct ProductRow {
    int type;
    const char* download_format;  // filled with major, minor, patch
    const char* caption;
    const char* backup_name;
    const char* program_name;
};

// The row of a product type, or nullptr for a type without one.
const ProductRow* find_product(int type);

// The release path on the update server, e.g. "tw/3/1.2.BIN" for 3.1.2.
std::string download_path(const ProductRow& row, const Version& v);

}  // namespace nd
