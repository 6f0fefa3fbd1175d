// Picture file encoders of the generator: PNG with alpha, and 24-bit BMP for
// the opaque pictures.
#pragma once

#include <cstdint>
#include <vector>

#include "skins/gen/canvas.h"

namespace skingen {

// Both return false only when the encoder itself fails.
bool encode_png(const Canvas& canvas, std::vector<uint8_t>& out);
bool encode_bmp(const Canvas& canvas, std::vector<uint8_t>& out);

}  // namespace skingen
