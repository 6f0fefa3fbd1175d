#include "content/clipboard.h"

#include "content/images.h"

namespace nd::content {

int query_clipboard(Clipboard& clipboard) {
    if (clipboard.has_text()) return kClipText;
    if (clipboard.has_picture()) return kClipPicture;
    if (clipboard.has_files()) return kClipFiles;
    return kClipNothing;
}

ClipboardContent read_clipboard(Clipboard& clipboard, bool accept_non_text) {
    ClipboardContent c;
    if (clipboard.has_text() && clipboard.read_text(c.text) && !c.text.empty()) {
        c.kind = kClipText;
        return c;
    }
    c.text.clear();
    if (!accept_non_text) return c;
    if (clipboard.has_picture() && clipboard.read_picture(c.picture) && !c.picture.empty()) {
        c.kind = kClipPicture;
        return c;
    }
    c.picture.clear();
    std::vector<std::string> files;
    int effect = 1;
    if (!clipboard.has_files() || !clipboard.read_files(files, effect) || (effect & 3) == 0)
        return c;
    for (std::string& f : files) {
        if (static_cast<int>(c.files.size()) == kMaxPastedFiles) break;
        if (f.empty() || f.size() > kMaxPastedPath) continue;
        c.files.push_back(std::move(f));
    }
    if (!c.files.empty()) c.kind = kClipFiles;
    return c;
}

int copy_image_to_clipboard(const std::string& image_path, const std::string& temp_dir,
                            Clipboard& clipboard) {
    gfx::IMAGE* image = gfx::new_image(1, 1);
    int placed = 0;
    if (gfx::getimage(image, image_path.c_str()) == gfx::kOk) {
        // The BMP is the picture as it was offered; the offer itself does
        // not depend on it being written.
        (void)gfx::save_image(image, clipboard_bmp_name(temp_dir).c_str());
        placed = clipboard.write_picture(*image) ? 1 : 0;
    }
    gfx::delete_image(image);
    return placed;
}

}  // namespace nd::content
