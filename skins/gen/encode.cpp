#include "skins/gen/encode.h"

#include <png.h>

namespace skingen {
namespace {

void append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void put_le(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

// The libpng calls on their own: libpng reports errors by longjmp, which
// must not jump over locals that a C++ object owns.
bool write_png(png_structp png, png_infop info, std::vector<uint8_t>* out, int width, int height,
               png_bytep* rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, append, nullptr);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool encode_png(const Canvas& canvas, std::vector<uint8_t>& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<uint8_t> rgba(canvas.pixels.size() * 4);
    for (size_t i = 0; i < canvas.pixels.size(); ++i) {
        uint32_t p = canvas.pixels[i];
        rgba[4 * i] = uint8_t(p >> 16);
        rgba[4 * i + 1] = uint8_t(p >> 8);
        rgba[4 * i + 2] = uint8_t(p);
        rgba[4 * i + 3] = uint8_t(p >> 24);
    }
    std::vector<png_bytep> rows(size_t(canvas.height));
    for (int y = 0; y < canvas.height; ++y)
        rows[size_t(y)] = &rgba[size_t(y) * size_t(canvas.width) * 4];
    const bool ok = write_png(png, info, &out, canvas.width, canvas.height, rows.data());
    png_destroy_write_struct(&png, &info);
    return ok;
}

bool encode_bmp(const Canvas& canvas, std::vector<uint8_t>& out) {
    // Bottom-up 24-bit rows padded to four bytes. Partly transparent pixels
    // (there should be none in an opaque picture) are flattened onto black.
    uint32_t stride = (uint32_t(canvas.width) * 3 + 3) & ~3u;
    uint32_t image_size = stride * uint32_t(canvas.height);
    out.push_back('B');
    out.push_back('M');
    put_le(out, 54 + image_size, 4);
    put_le(out, 0, 4);
    put_le(out, 54, 4);
    put_le(out, 40, 4);
    put_le(out, uint32_t(canvas.width), 4);
    put_le(out, uint32_t(canvas.height), 4);
    put_le(out, 1, 2);
    put_le(out, 24, 2);
    put_le(out, 0, 4);
    put_le(out, image_size, 4);
    put_le(out, 2835, 4);
    put_le(out, 2835, 4);
    put_le(out, 0, 4);
    put_le(out, 0, 4);
    for (int y = canvas.height - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < canvas.width; ++x) {
            uint32_t p = canvas.pixels[size_t(y) * size_t(canvas.width) + size_t(x)];
            uint32_t a = p >> 24;
            out.push_back(uint8_t((p & 255) * a / 255));
            out.push_back(uint8_t(((p >> 8) & 255) * a / 255));
            out.push_back(uint8_t(((p >> 16) & 255) * a / 255));
        }
        while (out.size() - start < stride) out.push_back(0);
    }
    return true;
}

}  // namespace skingen
