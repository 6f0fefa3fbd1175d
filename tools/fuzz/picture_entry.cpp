// The picture readers: each decoder on its own, then the same bytes through
// the graphics layer's loading call, which chooses the decoder by the
// signature.
#include "gfx/gfx.h"
#include "gfx/picture.h"
#include "tools/fuzz/entries.h"

namespace nd::fuzz {

namespace {

using Decoder = int (*)(const uint8_t*, size_t, gfx::detail::Picture*);

void check_picture(const gfx::detail::Picture& p) {
    fuzz_require(p.width > 0 && p.height > 0 &&
                     gfx::detail::picture_size_ok(static_cast<uint64_t>(p.width),
                                                  static_cast<uint64_t>(p.height)),
                 "a decoded picture has a size within the limits");
    fuzz_require(p.pixels.size() == static_cast<size_t>(p.width) * static_cast<size_t>(p.height),
                 "a decoded picture holds all its pixels");
}

void picture_one(Decoder decode, const uint8_t* data, size_t size) {
    gfx::detail::Picture picture;
    const int status = decode(data, size, &picture);
    fuzz_require(status == 0 || status == -12, "a decoder returns 0 or -12");
    if (status == 0) check_picture(picture);

    gfx::IMAGE* image = gfx::new_image(1, 1);
    const int loaded = gfx::getimage_bytes(image, data, size);
    fuzz_require(loaded == 0 || loaded == -12, "loading returns 0 or -12");
    if (loaded == 0) {
        const int w = gfx::image_width(image), h = gfx::image_height(image);
        fuzz_require(w > 0 && h > 0 && image->pixels.size() == static_cast<size_t>(w) * h,
                     "a loaded image holds all its pixels");
    }
    gfx::delete_image(image);
}

}  // namespace

void png_one(const uint8_t* data, size_t size) {
    picture_one(gfx::detail::decode_png, data, size);
}
void jpeg_one(const uint8_t* data, size_t size) {
    picture_one(gfx::detail::decode_jpeg, data, size);
}
void gif_one(const uint8_t* data, size_t size) {
    picture_one(gfx::detail::decode_gif, data, size);
}
void bmp_one(const uint8_t* data, size_t size) {
    picture_one(gfx::detail::decode_bmp, data, size);
}

}  // namespace nd::fuzz
