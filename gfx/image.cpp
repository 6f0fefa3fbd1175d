// Images, the current target and the screen page.
#include <atomic>
#include <cstring>
#include <new>

#include "gfx/internal.h"

namespace gfx {
namespace {

IMAGE* g_screen = nullptr;
IMAGE* g_target = nullptr;  // nullptr: the screen page
// The window layer may look at the flag from its own thread.
std::atomic<bool> g_screen_dirty{false};

void reset_viewport(IMAGE* image) {
    image->state.viewport = Viewport{{0, 0, image->width, image->height}, true};
}

}  // namespace

namespace detail {

IMAGE* resolve(IMAGE* image, const char* method) {
    if (image == nullptr) image = current_target();
    if (image != nullptr && image->mark != kImageMark) fatal_bad_image(image, method);
    return image;
}

const IMAGE* resolve(const IMAGE* image, const char* method) {
    return resolve(const_cast<IMAGE*>(image), method);
}

void touched(const IMAGE* image) {
    if (image != nullptr && image == g_screen)
        g_screen_dirty.store(true, std::memory_order_relaxed);
}

Rect draw_clip(const IMAGE* image) {
    const Viewport& v = image->state.viewport;
    if (v.clip) return v.area;
    return Rect{0, 0, image->width, image->height};
}

void allocate_pixels(IMAGE* image, int width, int height, uint32_t fill) {
    // Pictures are checked against their own limits before they get here, so
    // a failure is a programming error or an exhausted machine.
    try {
        std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height),
                                     fill);
        image->pixels.swap(pixels);
    } catch (const std::bad_alloc&) {
        fatal_internal("Fatal Error: Create Bitmap fail in 'IMAGE::initimage'");
    } catch (const std::length_error&) {
        fatal_internal("Fatal Error: Create Bitmap fail in 'IMAGE::initimage'");
    }
    image->width = width;
    image->height = height;
}

}  // namespace detail

IMAGE* new_image(int width, int height) {
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    IMAGE* image = new (std::nothrow) IMAGE;
    if (image == nullptr) fatal_internal("Fatal Error: Create Bitmap fail in 'IMAGE::initimage'");
    // Every pixel starts opaque black: a zeroed buffer whose old background
    // 0 is replaced by the new background 0xFF000000.
    detail::allocate_pixels(image, width, height, 0xFF000000u);
    image->mark = kImageMark;
    image->state.font.height = 16;
    std::strcpy(image->state.font.face, "SimSun");
    reset_viewport(image);
    return image;
}

void delete_image(IMAGE* image) {
    if (image == nullptr) return;
    if (image == g_target) g_target = nullptr;
    if (image == g_screen) g_screen = nullptr;
    // A stale pointer used after this reads a cleared mark, not a valid image.
    image->mark = 0;
    delete image;
}

int image_width(const IMAGE* image) {
    const IMAGE* im = detail::resolve(image, "IMAGE::getwidth");
    return im ? im->width : 0;
}

int image_height(const IMAGE* image) {
    const IMAGE* im = detail::resolve(image, "IMAGE::getheight");
    return im ? im->height : 0;
}

void resize(IMAGE* image, int width, int height) {
    if (image == nullptr) return;
    if (image->mark != kImageMark) fatal_bad_image(image, "IMAGE::resize");
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (width != image->width || height != image->height) {
        detail::allocate_pixels(image, width, height, 0);
        detail::touched(image);
    }
    reset_viewport(image);
}

void set_target(IMAGE* image) {
    g_target = image;
}

IMAGE* current_target() {
    return g_target != nullptr ? g_target : g_screen;
}

IMAGE* screen_page() {
    return g_screen;
}

void set_screen_page(IMAGE* page) {
    g_screen = page;
    g_screen_dirty.store(true, std::memory_order_relaxed);
}

bool screen_dirty() {
    return g_screen_dirty.load(std::memory_order_relaxed);
}

void clear_screen_dirty() {
    g_screen_dirty.store(false, std::memory_order_relaxed);
}

void put_pixel(int x, int y, Color color, IMAGE* image) {
    IMAGE* im = detail::resolve(image, "IMAGE::putpixel");
    if (im == nullptr) return;
    const Viewport& v = im->state.viewport;
    x += v.area.x;
    y += v.area.y;
    if (x < 0 || y < 0 || x >= v.area.right() || y >= v.area.bottom()) return;
    if (x >= im->width || y >= im->height) return;
    im->pixels[static_cast<size_t>(y) * im->width + x] = color;
    detail::touched(im);
}

Color get_pixel(int x, int y, const IMAGE* image) {
    const IMAGE* im = detail::resolve(image, "IMAGE::getpixel");
    if (im == nullptr) return 0;
    x += im->state.viewport.area.x;
    y += im->state.viewport.area.y;
    if (x < 0 || y < 0 || x >= im->width || y >= im->height) return 0;
    return im->pixels[static_cast<size_t>(y) * im->width + x];
}

void clear_image(IMAGE* image) {
    IMAGE* im = detail::resolve(image, "IMAGE::cleardevice");
    if (im == nullptr) return;
    std::fill(im->pixels.begin(), im->pixels.end(), im->state.bk_color);
    detail::touched(im);
}

}  // namespace gfx
