// Small helpers shared by the graphics tests.
#pragma once

#include <memory>

#include "gfx/gfx.h"

namespace gfx::test {

struct ImageDeleter {
    void operator()(IMAGE* im) const { delete_image(im); }
};
using ImagePtr = std::unique_ptr<IMAGE, ImageDeleter>;

inline ImagePtr make_image(int w = 1, int h = 1) {
    return ImagePtr(new_image(w, h));
}

}  // namespace gfx::test
