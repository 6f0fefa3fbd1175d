// The size a picture file claims, read from its header before anything is
// decoded, and the check that keeps hostile headers from costing memory and
// time: a 35-byte GIF can claim 8192 x 8192 pixels.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nd::content {

enum class PictureFormat { kUnknown, kJpeg, kPng, kGif, kBmp };

struct PictureHeader {
    PictureFormat format = PictureFormat::kUnknown;
    uint32_t width = 0;
    uint32_t height = 0;
};

// Pictures from outside are refused above these: 16384 pixels a side and
// 50 Mpixel in all (a 50-megapixel camera frame is about 8700 x 5800).
inline constexpr uint32_t kImportMaxSide = 16384;
inline constexpr uint64_t kImportMaxPixels = 50'000'000;
// No format packs more pixels than this into one byte of real data, so a
// file that claims more is a bomb or damaged. Small pictures are let through
// whatever their file size.
inline constexpr uint64_t kMaxPixelsPerByte = 16384;
inline constexpr uint64_t kAlwaysPlausiblePixels = uint64_t{1} << 20;

// Reads the claimed size. Returns 0, or -1 when the data is no picture of a
// known format or its header is cut short.
[[nodiscard]] int probe_picture(const uint8_t* data, size_t size, PictureHeader* out);

// Status codes of check_picture.
inline constexpr int kPictureFits = 0;
inline constexpr int kPictureTooLarge = -1;     // beyond the caps above
inline constexpr int kPictureImplausible = -2;  // more pixels than the file could hold
inline constexpr int kPictureEmpty = -3;        // a side of 0: a damaged header

[[nodiscard]] int check_picture(const PictureHeader& header, size_t file_size);

}  // namespace nd::content
