// The picture set compiled into the programs: every skin's pictures and the
// shared ones, made at build time, found by name as "IMGS" resources.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nd {

struct SkinPicture {
    const char* name;
    const uint8_t* data;  // a complete PNG or BMP file
    size_t size;
    int width, height;  // as drawn, for checks and the contact sheet
};

// Registers the whole set with the graphics layer's resource table, and the
// application icon as the program's "ICON" resource, which every window it
// opens then carries. Both programs call it once at start, before loading
// any picture or opening a window.
void install_skin_pictures();

// The set itself, sorted by name.
const SkinPicture* skin_pictures();
size_t skin_picture_count();
// The picture called `name`, or null.
const SkinPicture* find_skin_picture(const char* name);

}  // namespace nd
