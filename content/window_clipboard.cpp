#include "content/window_clipboard.h"

#include "content/images.h"

namespace nd::content {

bool WindowClipboard::request() {
    if (ticket_ > 0) return false;
    release();
    const int ticket = gfx::clipboard_request(gfx::ClipAccept::kAnything);
    if (ticket <= 0) return false;
    ticket_ = ticket;
    return true;
}

int WindowClipboard::poll() {
    if (ticket_ <= 0) return 0;
    const int state = gfx::clipboard_poll(ticket_, &answer_);
    if (state == 0) return 0;
    ticket_ = 0;
    answered_ = state == 1;
    return answered_ ? 1 : 0;
}

void WindowClipboard::release() {
    answered_ = false;
    answer_ = gfx::ClipboardContent{};
}

void WindowClipboard::cancel() {
    if (ticket_ > 0) gfx::clipboard_cancel(ticket_);
    ticket_ = 0;
    release();
}

bool WindowClipboard::has_text() {
    return answer_kind() == gfx::kClipText && !answer_.text.empty();
}

bool WindowClipboard::has_picture() {
    return answer_kind() == gfx::kClipBitmap && answer_.image;
}

bool WindowClipboard::has_files() {
    return answer_kind() == gfx::kClipFiles && !answer_.files.empty();
}

bool WindowClipboard::read_text(std::string& gbk) {
    if (!has_text()) return false;
    gbk = answer_.text;
    return true;
}

bool WindowClipboard::read_picture(std::vector<uint8_t>& encoded) {
    if (!has_picture()) return false;
    // The window layer hands the picture over decoded; the import worker
    // takes encoded bytes, and an uncompressed BMP costs only a copy here.
    encoded = clipboard_bmp(*answer_.image);
    return !encoded.empty();
}

bool WindowClipboard::read_files(std::vector<std::string>& paths, int& effect) {
    if (!has_files()) return false;
    paths = answer_.files;
    switch (answer_.effect) {
        case gfx::FileEffect::kCopy:
            effect = 1;
            break;
        case gfx::FileEffect::kCut:
            effect = 2;
            break;
        case gfx::FileEffect::kLink:
            effect = 4;
            break;
    }
    return true;
}

bool WindowClipboard::write_text(const std::string& gbk) {
    return gfx::clipboard_write_text(gbk.data(), gbk.size()) == 0;
}

bool WindowClipboard::write_picture(const gfx::IMAGE& picture) {
    return gfx::clipboard_write_image(&picture) == 0;
}

}  // namespace nd::content
