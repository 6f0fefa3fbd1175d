#include "skins/pictures.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "gfx/gfx.h"

// The start and end of the generated blob, placed by pictures_blob.cpp.
extern "C" const uint8_t nd_skin_blob[];
extern "C" const uint8_t nd_skin_blob_end[];
extern "C" const uint8_t nd_app_icon[];
extern "C" const uint8_t nd_app_icon_end[];

namespace nd {
namespace {

struct IndexRow {
    const char* name;
    size_t offset, size;
    int width, height;
};

// Written by the generator: one row per picture, sorted by name.
constexpr IndexRow kIndex[] = {
#include "skin_pictures_index.inc"
};
constexpr size_t kCount = sizeof(kIndex) / sizeof(kIndex[0]);

const std::vector<SkinPicture>& table() {
    static const std::vector<SkinPicture> pictures = [] {
        std::vector<SkinPicture> out;
        out.reserve(kCount);
        size_t blob_size = size_t(nd_skin_blob_end - nd_skin_blob);
        for (const IndexRow& row : kIndex) {
            // A row past the blob would mean a stale index; it is left out so
            // the picture reads as missing rather than as foreign bytes.
            if (row.offset + row.size > blob_size) continue;
            out.push_back({row.name, nd_skin_blob + row.offset, row.size, row.width, row.height});
        }
        return out;
    }();
    return pictures;
}

}  // namespace

void install_skin_pictures() {
    static const std::vector<gfx::Resource> resources = [] {
        std::vector<gfx::Resource> out;
        for (const SkinPicture& p : table()) out.push_back({"IMGS", p.name, p.data, p.size});
        // The application icon, 128 x 128.
        out.push_back({"ICON", "NODREL", nd_app_icon, size_t(nd_app_icon_end - nd_app_icon)});
        return out;
    }();
    gfx::set_resource_table(resources.data(), resources.size());
}

const SkinPicture* skin_pictures() {
    return table().data();
}

size_t skin_picture_count() {
    return table().size();
}

const SkinPicture* find_skin_picture(const char* name) {
    const std::vector<SkinPicture>& t = table();
    auto it = std::lower_bound(t.begin(), t.end(), name, [](const SkinPicture& p, const char* n) {
        return std::strcmp(p.name, n) < 0;
    });
    return it != t.end() && std::strcmp(it->name, name) == 0 ? &*it : nullptr;
}

}  // namespace nd
