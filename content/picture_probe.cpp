#include "content/picture_probe.h"

#include <cstring>

namespace nd::content {

namespace {

uint32_t be16(const uint8_t* p) {
    return uint32_t{p[0]} << 8 | p[1];
}
uint32_t be32(const uint8_t* p) {
    return be16(p) << 16 | be16(p + 2);
}
uint32_t le16(const uint8_t* p) {
    return uint32_t{p[1]} << 8 | p[0];
}
uint32_t le32(const uint8_t* p) {
    return le16(p + 2) << 16 | le16(p);
}

// The first frame header (SOF0..SOF15 but DHT, JPG and DAC) gives the size.
int probe_jpeg(const uint8_t* d, size_t size, PictureHeader* out) {
    size_t i = 2;
    while (i + 4 <= size) {
        if (d[i] != 0xFF) return -1;
        uint8_t m = d[i + 1];
        if (m == 0xFF) {  // fill byte
            ++i;
            continue;
        }
        if (m == 0x01 || (m >= 0xD0 && m <= 0xD7)) {  // markers without a length
            i += 2;
            continue;
        }
        if (m == 0xD9 || m == 0xDA) return -1;  // image data before any frame header
        size_t length = be16(d + i + 2);
        if (length < 2) return -1;
        bool frame = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
        if (frame) {
            if (i + 9 > size) return -1;
            out->height = be16(d + i + 5);
            out->width = be16(d + i + 7);
            return 0;
        }
        i += 2 + length;
    }
    return -1;
}

// The logical screen, grown to hold the first frame as the decoder does.
int probe_gif(const uint8_t* d, size_t size, PictureHeader* out) {
    if (size < 13) return -1;
    uint32_t w = le16(d + 6), h = le16(d + 8);
    size_t i = 13;
    if (d[10] & 0x80) i += 3u << ((d[10] & 7) + 1);
    while (i < size) {
        if (d[i] == 0x2C) {
            if (i + 9 > size) return -1;
            uint32_t right = le16(d + i + 1) + le16(d + i + 5);
            uint32_t bottom = le16(d + i + 3) + le16(d + i + 7);
            out->width = right > w ? right : w;
            out->height = bottom > h ? bottom : h;
            return 0;
        }
        if (d[i] != 0x21 || i + 2 > size) return -1;
        i += 2;  // introducer and label, then sub-blocks up to an empty one
        while (i < size && d[i] != 0) i += 1 + d[i];
        ++i;
    }
    return -1;
}

int probe_bmp(const uint8_t* d, size_t size, PictureHeader* out) {
    if (size < 26) return -1;
    uint32_t info = le32(d + 14);
    if (info == 12) {
        out->width = le16(d + 18);
        out->height = le16(d + 20);
        return 0;
    }
    int32_t w = static_cast<int32_t>(le32(d + 18));
    int32_t h = static_cast<int32_t>(le32(d + 22));
    // The most negative height has no positive twin; it is no picture.
    if (w < 0 || h == INT32_MIN) return -1;
    out->width = static_cast<uint32_t>(w);
    out->height = static_cast<uint32_t>(h < 0 ? -h : h);
    return 0;
}

}  // namespace

int probe_picture(const uint8_t* data, size_t size, PictureHeader* out) {
    *out = PictureHeader{};
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    int r = -1;
    PictureFormat format = PictureFormat::kUnknown;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        format = PictureFormat::kJpeg;
        r = probe_jpeg(data, size, out);
    } else if (size >= 24 && std::memcmp(data, kPng, 8) == 0) {
        format = PictureFormat::kPng;
        if (std::memcmp(data + 12, "IHDR", 4) == 0) {
            out->width = be32(data + 16);
            out->height = be32(data + 20);
            r = 0;
        }
    } else if (size >= 6 && std::memcmp(data, "GIF8", 4) == 0) {
        format = PictureFormat::kGif;
        r = probe_gif(data, size, out);
    } else if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        format = PictureFormat::kBmp;
        r = probe_bmp(data, size, out);
    }
    if (r != 0) {
        *out = PictureHeader{};
        return -1;
    }
    out->format = format;
    return 0;
}

int check_picture(const PictureHeader& header, size_t file_size) {
    if (header.width == 0 || header.height == 0) return kPictureEmpty;
    if (header.width > kImportMaxSide || header.height > kImportMaxSide) return kPictureTooLarge;
    uint64_t pixels = uint64_t{header.width} * header.height;
    if (pixels > kImportMaxPixels) return kPictureTooLarge;
    if (pixels > kAlwaysPlausiblePixels && pixels / kMaxPixelsPerByte > file_size)
        return kPictureImplausible;
    return kPictureFits;
}

}  // namespace nd::content
