// JPEG through libjpeg-turbo, which reads and writes our B, G, R, A byte
// order directly. Library errors jump back here; only C frames lie between
// the jump and its target, and everything we own lives in the caller.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "gfx/gfx.h"
#include "gfx/picture.h"

namespace gfx::detail {
namespace {

struct ErrorJump {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void on_error(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorJump*>(cinfo->err)->jump, 1);
}

// Warnings (corrupt but readable data) are not worth a message.
void on_message(j_common_ptr) {}

// Turns a row of C, M, Y, K bytes into 0xAARRGGBB words in place (four bytes
// become one word, so the row converts front to back). Files that carry an
// Adobe marker store the inks inverted, 255 meaning no ink, as print tools
// and cameras write them; plain CMYK stores 255 as full ink.
void cmyk_row_to_rgb(uint32_t* row, int width, bool inverted) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(row);
    for (int x = 0; x < width; ++x) {
        uint32_t c = bytes[4 * x], m = bytes[4 * x + 1], y = bytes[4 * x + 2], k = bytes[4 * x + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        // (255 - ink) * (255 - black) / 255 with the inks as stored inverted.
        const uint32_t r = (c * k + 127) / 255, g = (m * k + 127) / 255, b = (y * k + 127) / 255;
        row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
}

}  // namespace

int decode_jpeg(const uint8_t* data, size_t size, Picture* out) {
    jpeg_decompress_struct cinfo;
    ErrorJump err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = on_error;
    err.mgr.output_message = on_message;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return kPictureError;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK ||
        !picture_size_ok(cinfo.image_width, cinfo.image_height)) {
        jpeg_destroy_decompress(&cinfo);
        return kPictureError;
    }
    // The library has no conversion from four-ink pictures to RGB, so
    // those are read as CMYK and converted here.
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&cinfo);
    out->width = static_cast<int>(cinfo.output_width);
    out->height = static_cast<int>(cinfo.output_height);
    out->pixels.assign(static_cast<size_t>(out->width) * out->height, 0xFF000000u);
    while (cinfo.output_scanline < cinfo.output_height) {
        uint32_t* dst = &out->pixels[static_cast<size_t>(cinfo.output_scanline) * out->width];
        JSAMPROW row = reinterpret_cast<JSAMPROW>(dst);
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
        if (cmyk) cmyk_row_to_rgb(dst, out->width, cinfo.saw_Adobe_marker != 0);
    }
    // A truncated file gives what it has, as viewers show it; libjpeg fills
    // the missing rows itself.
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return kOk;
}

int encode_jpeg(const uint32_t* pixels, int width, int height, int quality,
                std::vector<uint8_t>* out) {
    jpeg_compress_struct cinfo;
    ErrorJump err;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = on_error;
    err.mgr.output_message = on_message;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        return kPictureError;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(reinterpret_cast<const JSAMPLE*>(
            pixels + static_cast<size_t>(cinfo.next_scanline) * width));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    out->assign(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return kOk;
}

}  // namespace gfx::detail
