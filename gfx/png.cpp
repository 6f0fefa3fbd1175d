// PNG through libpng's whole-image interface. Our pixel words are the bytes
// B, G, R, A in memory, which is libpng's BGRA format.
#include <png.h>

#include <cstring>

#include "gfx/gfx.h"
#include "gfx/picture.h"

namespace gfx::detail {

int decode_png(const uint8_t* data, size_t size, Picture* out) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return kPictureError;
    if (!picture_size_ok(image.width, image.height)) {
        png_image_free(&image);
        return kPictureError;
    }
    image.format = PNG_FORMAT_BGRA;
    out->width = static_cast<int>(image.width);
    out->height = static_cast<int>(image.height);
    out->pixels.assign(static_cast<size_t>(image.width) * image.height, 0);
    if (!png_image_finish_read(&image, nullptr, out->pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return kPictureError;
    }
    return kOk;
}

int encode_png(const uint32_t* pixels, int width, int height, std::vector<uint8_t>* out) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, pixels, 0, nullptr)) {
        return kPictureError;
    }
    out->resize(size);
    if (!png_image_write_to_memory(&image, out->data(), &size, 0, pixels, 0, nullptr)) {
        return kPictureError;
    }
    out->resize(size);
    return kOk;
}

}  // namespace gfx::detail
