// Picture decoders and encoders shared by the graphics layer's loading and
// saving calls. Internal to the layer and its tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gfx::detail {

// A decoded picture: 0xAARRGGBB words, rows top to bottom.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// Pictures are refused beyond these sizes, so a damaged or hostile header
// cannot ask for gigabytes: 32768 pixels a side and 64 Mpixel in all.
constexpr int kMaxPictureSide = 32768;
constexpr uint64_t kMaxPicturePixels = uint64_t{1} << 26;
bool picture_size_ok(uint64_t width, uint64_t height);

// Each returns 0 and fills `out`, or -12 and leaves `out` unspecified.
int decode_png(const uint8_t* data, size_t size, Picture* out);
int decode_jpeg(const uint8_t* data, size_t size, Picture* out);
int decode_gif(const uint8_t* data, size_t size, Picture* out);
int decode_bmp(const uint8_t* data, size_t size, Picture* out);

// The general decoder: chooses by the data's signature (JPEG, BMP, GIF, PNG).
int decode_general(const uint8_t* data, size_t size, Picture* out);

// Encoders fill `out` with the file's bytes. 0 or -12.
int encode_png(const uint32_t* pixels, int width, int height, std::vector<uint8_t>* out);
int encode_jpeg(const uint32_t* pixels, int width, int height, int quality,
                std::vector<uint8_t>* out);
int encode_bmp24(const uint32_t* pixels, int width, int height, std::vector<uint8_t>* out);

// Writes the bytes to a temporary file beside `path` and renames it over
// `path`, so a failed write never leaves a half-written picture. 0 or -12.
int write_file_whole(const char* path, const std::vector<uint8_t>& bytes);

}  // namespace gfx::detail
