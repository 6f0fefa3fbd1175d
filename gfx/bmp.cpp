// Our own BMP reader and the 24-bit BMP writer. The reader takes the
// uncompressed forms: 1, 4 and 8 bits with a palette, 16 and 32 bits with or
// without colour masks, 24 bits; rows bottom-up (positive height) or top-down
// (negative height). Every offset and size is checked against the data.
#include <bit>
#include <cstring>

#include "gfx/gfx.h"
#include "gfx/picture.h"

namespace gfx::detail {
namespace {

constexpr size_t kFileHeader = 14;
constexpr uint32_t kBiRgb = 0, kBiBitfields = 3, kBiAlphaBitfields = 6;

uint32_t u16_at(const uint8_t* p) {
    return p[0] | (uint32_t{p[1]} << 8);
}
uint32_t u32_at(const uint8_t* p) {
    return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

void put16(std::vector<uint8_t>* out, uint32_t v) {
    out->push_back(static_cast<uint8_t>(v));
    out->push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>* out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// One colour field of a masked pixel, scaled to 0..255. An empty mask reads 0.
struct Field {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    explicit Field(uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        max = m >> shift;
    }
    uint32_t get(uint32_t px) const { return max == 0 ? 0 : ((px & mask) >> shift) * 255 / max; }
};

struct Header {
    int64_t width = 0, height = 0;
    bool top_down = false;
    uint32_t bpp = 0, compression = kBiRgb, colors_used = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    size_t palette_at = 0, palette_entry = 4, data_at = 0;
};

bool read_header(const uint8_t* data, size_t size, Header* h) {
    if (size < kFileHeader + 12) return false;
    h->data_at = u32_at(data + 10);
    const uint32_t info = u32_at(data + kFileHeader);
    const uint8_t* p = data + kFileHeader;
    if (info == 12) {  // the old core header: 16-bit sizes, 3-byte palette entries
        h->width = u16_at(p + 4);
        h->height = u16_at(p + 6);
        h->bpp = u16_at(p + 10);
        h->palette_entry = 3;
    } else if (info >= 40 && info <= 124 && size >= kFileHeader + info) {
        h->width = static_cast<int32_t>(u32_at(p + 4));
        h->height = static_cast<int32_t>(u32_at(p + 8));
        h->bpp = u16_at(p + 14);
        h->compression = u32_at(p + 16);
        h->colors_used = u32_at(p + 32);
        const bool masks_in_header = info >= 52;
        if (h->compression == kBiBitfields || h->compression == kBiAlphaBitfields ||
            masks_in_header) {
            // Masks follow a 40-byte header, or sit inside a longer one.
            const size_t n = (h->compression == kBiAlphaBitfields || info >= 56) ? 4 : 3;
            if (size < kFileHeader + 40 + 4 * n) return false;
            for (size_t i = 0; i < n; ++i) h->masks[i] = u32_at(p + 40 + 4 * i);
        }
    } else {
        return false;
    }
    h->palette_at = kFileHeader + info;
    if (info == 40 && (h->compression == kBiBitfields || h->compression == kBiAlphaBitfields)) {
        h->palette_at += h->compression == kBiAlphaBitfields ? 16 : 12;
    }
    if (h->height < 0) {
        h->top_down = true;
        h->height = -h->height;
    }
    return true;
}

}  // namespace

int decode_bmp(const uint8_t* data, size_t size, Picture* out) {
    Header h;
    if (!read_header(data, size, &h)) return kPictureError;
    if (!picture_size_ok(static_cast<uint64_t>(std::max<int64_t>(h.width, 0)),
                         static_cast<uint64_t>(h.height))) {
        return kPictureError;
    }
    const bool masked = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
    if (h.compression != kBiRgb && !masked) return kPictureError;  // run-length forms
    const uint32_t bpp = h.bpp;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        return kPictureError;
    }
    if (masked && bpp != 16 && bpp != 32) return kPictureError;

    // Palette entries are B, G, R (and a reserved byte); indexes past the end
    // of a short palette read black.
    uint32_t palette[256] = {};
    if (bpp <= 8) {
        size_t count = h.colors_used != 0 ? h.colors_used : (size_t{1} << bpp);
        count = std::min<size_t>(count, 256);
        if (h.palette_at + count * h.palette_entry > size) return kPictureError;
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = data + h.palette_at + i * h.palette_entry;
            palette[i] = 0xFF000000u | (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
        }
        for (size_t i = count; i < 256; ++i) palette[i] = 0xFF000000u;
    }
    uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
    if (!masked) {
        // Without masks, 16 bits are 5-5-5 and 32 bits are B, G, R and an
        // unused byte: such pictures are opaque.
        const uint32_t m16[4] = {0x7C00, 0x03E0, 0x001F, 0};
        const uint32_t m32[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
        std::memcpy(masks, bpp == 16 ? m16 : m32, sizeof masks);
    }
    const Field red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);

    const uint64_t stride = ((static_cast<uint64_t>(h.width) * bpp + 31) / 32) * 4;
    if (h.data_at > size || stride * h.height > size - h.data_at) return kPictureError;
    out->width = static_cast<int>(h.width);
    out->height = static_cast<int>(h.height);
    out->pixels.assign(static_cast<size_t>(h.width * h.height), 0);
    for (int64_t y = 0; y < h.height; ++y) {
        const uint8_t* row = data + h.data_at + stride * (h.top_down ? y : h.height - 1 - y);
        uint32_t* dst = &out->pixels[static_cast<size_t>(y * h.width)];
        for (int64_t x = 0; x < h.width; ++x) {
            uint32_t px;
            switch (bpp) {
                case 1:
                    px = palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
                    break;
                case 4:
                    px = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
                    break;
                case 8:
                    px = palette[row[x]];
                    break;
                case 24:
                    px = 0xFF000000u | (uint32_t{row[3 * x + 2]} << 16) |
                         (uint32_t{row[3 * x + 1]} << 8) | row[3 * x];
                    break;
                default: {
                    const uint32_t v = bpp == 16 ? u16_at(row + 2 * x) : u32_at(row + 4 * x);
                    const uint32_t a = masks[3] != 0 ? alpha.get(v) : 0xFF;
                    px = (a << 24) | (red.get(v) << 16) | (green.get(v) << 8) | blue.get(v);
                }
            }
            dst[x] = px;
        }
    }
    return kOk;
}

int encode_bmp24(const uint32_t* pixels, int width, int height, std::vector<uint8_t>* out) {
    if (width < 1 || height < 1) return kPictureError;
    // Each row of 3-byte pixels is padded with zero bytes to a multiple of 4.
    const uint32_t row_bytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t image_bytes = row_bytes * static_cast<uint32_t>(height);
    out->clear();
    out->reserve(54 + image_bytes);
    out->push_back('B');
    out->push_back('M');
    put32(out, 54 + image_bytes);  // total file size
    put32(out, 0);                 // two reserved words
    put32(out, 54);                // offset of the pixel rows
    put32(out, 40);                // info header size
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));  // positive: rows bottom to top
    put16(out, 1);                              // planes
    put16(out, 24);                             // bits per pixel
    put32(out, kBiRgb);
    put32(out, image_bytes);
    put32(out, 0);  // horizontal resolution
    put32(out, 0);  // vertical resolution
    put32(out, 0);  // colours used
    put32(out, 0);  // important colours
    for (int y = height - 1; y >= 0; --y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            out->push_back(static_cast<uint8_t>(row[x]));
            out->push_back(static_cast<uint8_t>(row[x] >> 8));
            out->push_back(static_cast<uint8_t>(row[x] >> 16));
        }
        out->insert(out->end(), row_bytes - static_cast<uint32_t>(width) * 3, 0);
    }
    return kOk;
}

}  // namespace gfx::detail
