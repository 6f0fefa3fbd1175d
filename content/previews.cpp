#include "content/previews.h"

#include <sys/stat.h>

#include <cstring>

#include "content/images.h"
#include "store/paths.h"

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

int HeldPreviews::get(int slot, const char* stored_path, const std::string& root,
                      PreviewSource& source, const gfx::IMAGE** out) {
    Held& h = held_[slot];
    if (h.image && std::strncmp(h.stored_path, stored_path, sizeof h.stored_path) == 0) {
        *out = h.image;
        return kPreviewOk;
    }
    release(slot);
    std::string disk =
        stored_to_disk(root, std::string(stored_path, strnlen(stored_path, sizeof h.stored_path)));
    if (disk.empty()) return kPreviewNoImage;
    gfx::IMAGE* image = nullptr;
    int status = source.load_preview(disk, &image);
    if (status != kPreviewOk) return status;
    h.image = image;
    std::strncpy(h.stored_path, stored_path, sizeof h.stored_path - 1);
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
    held_[slot].stored_path[0] = '\0';
}

void HeldPreviews::release_all() {
    for (int i = 0; i < kAttachmentSlots; ++i) release(i);
}

}  // namespace nd::content
