// Previews of image attachments: where they come from (an interface, so the
// layout can be tested without files) and the images a view holds per slot.
#pragma once

#include <string>

#include "gfx/gfx.h"
#include "store/records.h"

namespace nd::content {

// Status codes of a preview source.
inline constexpr int kPreviewOk = 0;
inline constexpr int kPreviewNoImage = -1;  // the stored image does not exist
inline constexpr int kPreviewFailed = -2;   // it exists but gives no preview

class PreviewSource {
public:
    virtual ~PreviewSource() = default;
    // Loads the preview of the stored image at `image_path` (a disk path),
    // making the preview file first when it is missing. On kPreviewOk `*out`
    // is a new image the caller owns.
    [[nodiscard]] virtual int load_preview(const std::string& image_path, gfx::IMAGE** out) = 0;
};

// Previews on disk: "<image path>_preview.jpg", made from the image when
// missing (at most 160 pixels wide).
class DiskPreviews final : public PreviewSource {
public:
    [[nodiscard]] int load_preview(const std::string& image_path, gfx::IMAGE** out) override;
};

// The previews a view holds, one per attachment slot, each remembered with
// the slot path it was loaded for, so a slot that now names another image
// (after an undo, or a slot freed and taken again) is loaded afresh, and a
// layout that finds every preview held neither builds a path nor allocates.
class HeldPreviews {
public:
    HeldPreviews() = default;
    HeldPreviews(const HeldPreviews&) = delete;
    HeldPreviews& operator=(const HeldPreviews&) = delete;
    ~HeldPreviews() { release_all(); }

    // The preview for `slot`, whose stored path ("1\img\...", the slot's
    // field) lies under the workspace `root`: the held one when it was
    // loaded for that path, else loaded from `source`. Returns a preview
    // status; on kPreviewOk `*out` is the held image.
    [[nodiscard]] int get(int slot, const char* stored_path, const std::string& root,
                          PreviewSource& source, const gfx::IMAGE** out);

    const gfx::IMAGE* image(int slot) const;
    void release(int slot);
    void release_all();

private:
    struct Held {
        gfx::IMAGE* image = nullptr;
        char stored_path[sizeof(Attachment::path)] = {};
    };
    Held held_[kAttachmentSlots];
};

}  // namespace nd::content
