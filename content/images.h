// Stored images and their previews: sizes, names and the files written
// beside them. Stored images are JPEG files under the workspace's
// "1/img/YYYY/MM/DD/"; each has a preview "<image path>_preview.jpg" at most
// 160 pixels wide.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/gfx.h"

namespace nd::content {

inline constexpr int kPreviewMaxWidth = 160;
inline constexpr int kJpegQuality = 90;

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The preview's size for a picture: the same up to 160 pixels wide, else
// 160 wide with the height scaled alike (truncated, never below 1).
PictureSize preview_size(int width, int height);

// "<image path>_preview.jpg".
std::string preview_path(const std::string& image_path);

// Writes the preview of `picture` for the image stored at `image_path`.
// Returns 0, or -1 when the file could not be written (nothing is left).
[[nodiscard]] int write_preview(const gfx::IMAGE& picture, const std::string& image_path);

// The BMP a clipboard bitmap is kept as ("screen.s12"): a 14-byte file
// header ("BM", size 0, reserved 0, pixel offset 54), a 40-byte info header
// (size 40, width, positive height, 1 plane, 32 bits, the rest 0) and 32-bit
// pixels in rows from the bottom up.
std::vector<uint8_t> clipboard_bmp(const gfx::IMAGE& picture);

// Writes "screen.s12" into the program's temporary folder `temp_dir` (ends
// in '/'). Prints "File Cannot Be Written" when it cannot; returns 0 or -1.
int write_screen_bmp(const gfx::IMAGE& picture, const std::string& temp_dir);

// A fresh "%s%08x.bmp" name in `temp_dir` for an image being put on the
// clipboard, from the next value of the program's generator.
std::string clipboard_bmp_name(const std::string& temp_dir);

}  // namespace nd::content
