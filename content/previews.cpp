#include "content/previews.h"

#include <sys/stat.h>

#include "content/images.h"

namespace nd::content {

namespace {

bool is_regular_file(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

int DiskPreviews::load_preview(const std::string& image_path, gfx::IMAGE** out) {
    if (!is_regular_file(image_path)) return kPreviewNoImage;
    gfx::IMAGE* image = gfx::new_image(1, 1);
    std::string preview = preview_path(image_path);
    if (gfx::getimage(image, preview.c_str()) != gfx::kOk) {
        // Missing (or unreadable): made again from the stored image.
        if (gfx::getimage(image, image_path.c_str()) != gfx::kOk ||
            write_preview(*image, image_path) != 0 ||
            gfx::getimage(image, preview.c_str()) != gfx::kOk) {
            gfx::delete_image(image);
            return kPreviewFailed;
        }
    }
    *out = image;
    return kPreviewOk;
}

int HeldPreviews::get(int slot, const std::string& image_path, PreviewSource& source,
                      const gfx::IMAGE** out) {
    Held& h = held_[slot];
    if (h.image && h.path == image_path) {
        *out = h.image;
        return kPreviewOk;
    }
    release(slot);
    gfx::IMAGE* image = nullptr;
    int status = source.load_preview(image_path, &image);
    if (status != kPreviewOk) return status;
    h.image = image;
    h.path = image_path;
    *out = image;
    return kPreviewOk;
}

const gfx::IMAGE* HeldPreviews::image(int slot) const {
    return slot >= 0 && slot < kAttachmentSlots ? held_[slot].image : nullptr;
}

void HeldPreviews::release(int slot) {
    if (slot < 0 || slot >= kAttachmentSlots) return;
    gfx::delete_image(held_[slot].image);
    held_[slot].image = nullptr;
    held_[slot].path.clear();
}

void HeldPreviews::release_all() {
    for (int i = 0; i < kAttachmentSlots; ++i) release(i);
}

}  // namespace nd::content
