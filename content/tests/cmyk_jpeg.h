// A four-ink JPEG of the test's own making (cmyk_jpeg.cpp).
#pragma once

#include <cstdint>
#include <vector>

namespace nd::content {

// `cmyk` holds width * height pixels of four bytes each, as the inks are
// stored.
std::vector<uint8_t> testing_cmyk_jpeg(const uint8_t* cmyk, int width, int height);

}  // namespace nd::content
