#include "update/products.h"

#include <cstdio>

namespace nd {
namespace {

// Program names are the installed file names on this system: no ".exe", and
// this program's own product, type 2, is `nodrel`.
constexpr ProductRow kProducts[] = {
    {0, "tw/%u/%u.%u.BIN", "Tarnwell Update...", "prev_tw", "Tarnwell"},
    {1, "twquill/%u/%u.%u.BIN", "TW Quill Update...", "prev_quill", "Quill"},
    {2, "tw/%u/%u.%u.BIN", "Nodrel Update...", "prev", "nodrel"},
    {3, "twcobbet/%u/%u.%u.BIN", "TW Cobbet Update...", "prev_cobbet", "Cobbet"},
    {4, "twfennick/%u/%u.%u.BIN", "TW Fennick Update...", "prev_fennick", "Fennick"},
    {6, "morvane/%u/%u.%u.BIN", "Halvern Update...", "prev_morvane", "Halvern"},
    {7, "r8/%u/%u.%u.BIN", "Mossgate Update...", "prev_r8", "Mossgate"},
    {10, "dunmere/%u/%u.%u.BIN", "Dunmere Update...", "prev_dunmere", "Dunmere"},
};

}  // namespace

const ProductRow* find_product(int type) {
    for (const ProductRow& row : kProducts)
        if (row.type == type) return &row;
    return nullptr;
}

std::string download_path(const ProductRow& row, const Version& v) {
    char path[128];
    std::snprintf(path, sizeof path, row.download_format, v.major, v.minor, v.patch);
    return path;
}

}  // namespace nd
