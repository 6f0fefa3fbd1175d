#include "content/images.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <mutex>

#include "base/file_io.h"
#include "base/park_miller.h"
#include "store/locks.h"

namespace nd::content {

namespace {

void put_u16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
}
void put_u32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    put_u16(out, at, v & 0xFFFF);
    put_u16(out, at + 2, v >> 16);
}

}  // namespace

PictureSize preview_size(int width, int height) {
    if (width <= kPreviewMaxWidth) return {width, height};
    // Integer arithmetic: 160/W in floating point times W can fall just
    // short of 160 and lose a column.
    int64_t h = int64_t{height} * kPreviewMaxWidth / width;
    return {kPreviewMaxWidth, h < 1 ? 1 : static_cast<int>(h)};
}

std::string preview_path(const std::string& image_path) {
    return image_path + "_preview.jpg";
}

int write_preview(const gfx::IMAGE& picture, const std::string& image_path) {
    PictureSize size = preview_size(picture.width, picture.height);
    gfx::IMAGE* small = gfx::new_image(size.width, size.height);
    gfx::putimage(0, 0, size.width, size.height, &picture, 0, 0, picture.width, picture.height,
                  gfx::kSrcCopy, small);
    int r = gfx::save_jpeg(small, preview_path(image_path).c_str(), kJpegQuality);
    gfx::delete_image(small);
    return r == gfx::kOk ? 0 : -1;
}

std::vector<uint8_t> clipboard_bmp(const gfx::IMAGE& picture) {
    const size_t w = static_cast<size_t>(picture.width), h = static_cast<size_t>(picture.height);
    std::vector<uint8_t> out(54 + w * h * 4, 0);
    out[0] = 'B';
    out[1] = 'M';
    // File size (2) and the reserved words (6) stay 0, as the format is
    // written; readers take the size from the info header.
    put_u32(out, 10, 54);
    put_u32(out, 14, 40);
    put_u32(out, 18, static_cast<uint32_t>(w));
    put_u32(out, 22, static_cast<uint32_t>(h));
    put_u16(out, 26, 1);
    put_u16(out, 28, 32);
    uint8_t* pixels = out.data() + 54;
    for (size_t y = 0; y < h; ++y) {
        const uint32_t* row = &picture.pixels[(h - 1 - y) * w];
        for (size_t x = 0; x < w; ++x) {
            uint32_t p = row[x];
            uint8_t* d = pixels + (y * w + x) * 4;
            d[0] = static_cast<uint8_t>(p);
            d[1] = static_cast<uint8_t>(p >> 8);
            d[2] = static_cast<uint8_t>(p >> 16);
            d[3] = static_cast<uint8_t>(p >> 24);
        }
    }
    return out;
}

int write_screen_bmp(const gfx::IMAGE& picture, const std::string& temp_dir) {
    std::vector<uint8_t> bytes = clipboard_bmp(picture);
    if (write_file_atomic(temp_dir + "screen.s12", bytes.data(), bytes.size()) != kIoOk) {
        std::printf("File Cannot Be Written\n");
        return -1;
    }
    return 0;
}

std::string clipboard_bmp_name(const std::string& temp_dir) {
    int32_t value;
    {
        // The generator belongs to the main thread; other threads draw
        // under StorageLock, so the name is drawn the same way wherever
        // this runs.
        std::lock_guard<std::mutex> hold(StorageLock);
        value = next_random();
    }
    char name[16];
    std::snprintf(name, sizeof name, "%08x.bmp", static_cast<unsigned>(value));
    return temp_dir + name;
}

}  // namespace nd::content
