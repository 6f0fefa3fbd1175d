// Loading pictures into images from files, compiled-in resources and memory,
// and saving images as BMP, JPEG and PNG.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "gfx/internal.h"
#include "gfx/picture.h"

namespace gfx {
namespace detail {
namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// Picture files larger than this are refused before reading.
constexpr off_t kMaxPictureFile = off_t{256} << 20;

bool starts_png(const uint8_t* data, size_t size) {
    return size >= 8 && std::memcmp(data, kPngSignature, 8) == 0;
}

int read_file(const char* path, std::vector<uint8_t>* out) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return kPictureError;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxPictureFile) {
        ::close(fd);
        return kPictureError;
    }
    out->resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (done < out->size()) {
        const ssize_t n = ::read(fd, out->data() + done, out->size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    out->resize(done);
    return kOk;
}

// PNG data goes to the PNG reader with its alpha; anything else, or PNG data
// that the reader refuses, goes to the general decoder.
int decode_any(const uint8_t* data, size_t size, Picture* pic) {
    if (starts_png(data, size) && decode_png(data, size, pic) == kOk) return kOk;
    return decode_general(data, size, pic);
}

// Nearest-neighbour scaling to the requested size; a zero side follows the
// other side's scale so the picture keeps its shape.
void zoom(Picture* pic, int zoom_w, int zoom_h) {
    if (zoom_w <= 0 && zoom_h <= 0) return;
    int64_t w = zoom_w, h = zoom_h;
    if (w <= 0) w = std::max<int64_t>(1, int64_t{pic->width} * h / pic->height);
    if (h <= 0) h = std::max<int64_t>(1, int64_t{pic->height} * w / pic->width);
    if (!picture_size_ok(static_cast<uint64_t>(w), static_cast<uint64_t>(h))) return;
    if (w == pic->width && h == pic->height) return;
    std::vector<uint32_t> out(static_cast<size_t>(w * h));
    for (int64_t y = 0; y < h; ++y) {
        const int64_t sy = y * pic->height / h;
        for (int64_t x = 0; x < w; ++x) {
            out[static_cast<size_t>(y * w + x)] =
                pic->pixels[static_cast<size_t>(sy * pic->width + x * pic->width / w)];
        }
    }
    pic->pixels.swap(out);
    pic->width = static_cast<int>(w);
    pic->height = static_cast<int>(h);
}

// Only a decoded picture replaces the image's content; a failure leaves the
// image as it was.
int load_into(IMAGE* image, int status, Picture* pic, int zoom_w, int zoom_h) {
    if (status != kOk) return kPictureError;
    zoom(pic, zoom_w, zoom_h);
    resize(image, pic->width, pic->height);
    image->pixels.swap(pic->pixels);
    touched(image);
    return kOk;
}

void check_image(IMAGE* image) {
    if (image == nullptr) fatal_internal("Fatal Error: pass NULL to `gfx::getimage`");
    if (image->mark != kImageMark) fatal_bad_image(image, "IMAGE::getimage");
}

const IMAGE* savable(const IMAGE* image) {
    const IMAGE* im = resolve(image, "IMAGE::saveimage");
    return (im != nullptr && im->width > 0 && im->height > 0) ? im : nullptr;
}

}  // namespace

bool picture_size_ok(uint64_t width, uint64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

int decode_general(const uint8_t* data, size_t size, Picture* out) {
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        return decode_jpeg(data, size, out);
    }
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return decode_bmp(data, size, out);
    if (size >= 6 && std::memcmp(data, "GIF8", 4) == 0) return decode_gif(data, size, out);
    if (starts_png(data, size)) return decode_png(data, size, out);
    return kPictureError;
}

int write_file_whole(const char* path, const std::vector<uint8_t>& bytes) {
    if (path == nullptr || *path == '\0') return kPictureError;
    std::string tmp = std::string(path) + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return kPictureError;
    size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    // mkstemp makes the file private; pictures are ordinary user files.
    ok = ok && ::fchmod(fd, 0644) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(tmp.c_str(), path) == 0) return kOk;
    ::unlink(tmp.c_str());
    return kPictureError;
}

}  // namespace detail

int getimage(IMAGE* image, const char* path, int zoom_w, int zoom_h) {
    detail::check_image(image);
    std::vector<uint8_t> data;
    detail::Picture pic;
    int status = path != nullptr ? detail::read_file(path, &data) : kPictureError;
    if (status == kOk) status = detail::decode_any(data.data(), data.size(), &pic);
    return detail::load_into(image, status, &pic, zoom_w, zoom_h);
}

int getimage(IMAGE* image, const char* resource_type, const char* resource_name, int zoom_w,
             int zoom_h) {
    detail::check_image(image);
    const Resource* r = find_resource(resource_type, resource_name);
    detail::Picture pic;
    const int status = r != nullptr ? detail::decode_any(r->data, r->size, &pic) : kPictureError;
    return detail::load_into(image, status, &pic, zoom_w, zoom_h);
}

int getimage_bytes(IMAGE* image, const uint8_t* data, size_t size) {
    detail::check_image(image);
    detail::Picture pic;
    const int status = data != nullptr ? detail::decode_any(data, size, &pic) : kPictureError;
    return detail::load_into(image, status, &pic, 0, 0);
}

int save_image(const IMAGE* image, const char* path) {
    const IMAGE* im = detail::savable(image);
    std::vector<uint8_t> bytes;
    if (im == nullptr ||
        detail::encode_bmp24(im->pixels.data(), im->width, im->height, &bytes) != kOk) {
        return kPictureError;
    }
    return detail::write_file_whole(path, bytes);
}

int save_jpeg(const IMAGE* image, const char* path, int quality) {
    const IMAGE* im = detail::savable(image);
    std::vector<uint8_t> bytes;
    if (im == nullptr || detail::encode_jpeg(im->pixels.data(), im->width, im->height,
                                             std::clamp(quality, 1, 100), &bytes) != kOk) {
        return kPictureError;
    }
    return detail::write_file_whole(path, bytes);
}

int save_png(const IMAGE* image, const char* path) {
    const IMAGE* im = detail::savable(image);
    std::vector<uint8_t> bytes;
    if (im == nullptr ||
        detail::encode_png(im->pixels.data(), im->width, im->height, &bytes) != kOk) {
        return kPictureError;
    }
    return detail::write_file_whole(path, bytes);
}

}  // namespace gfx
