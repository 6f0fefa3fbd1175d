// The desktop clipboard (gfx/window/clipboard.h) behind the content's
// Clipboard interface. Reading the desktop's clipboard is asynchronous: a
// paste starts a read with `request`, the frame loop calls `poll` each
// frame, and once the answer is in, the editor's paste runs over it as over
// any other Clipboard. The frame loop never waits for another program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "content/clipboard.h"
#include "gfx/window/clipboard.h"

namespace nd::content {

class WindowClipboard final : public Clipboard {
public:
    WindowClipboard() = default;
    WindowClipboard(const WindowClipboard&) = delete;
    WindowClipboard& operator=(const WindowClipboard&) = delete;
    ~WindowClipboard() override { cancel(); }

    // Starts reading what the clipboard offers. False when a read is under
    // way already or there is no clipboard.
    bool request();
    // 1 when the answer came in (it is held until `release`), 0 while the
    // read is under way or none was asked for.
    int poll();
    bool reading() const { return ticket_ > 0; }
    // The held answer's kind (gfx's kClip* codes) and text.
    int answer_kind() const { return answered_ ? answer_.kind : gfx::kClipNothing; }
    const std::string& answer_text() const { return answer_.text; }
    const std::string& answer_reason() const { return answer_.reason; }
    // Forgets the held answer, or the read under way.
    void release();
    void cancel();

    // The Clipboard interface: the readers see the held answer (nothing
    // when none is held); the writers go straight to the desktop.
    bool has_text() override;
    bool has_picture() override;
    bool has_files() override;
    bool read_text(std::string& gbk) override;
    bool read_picture(std::vector<uint8_t>& encoded) override;
    bool read_files(std::vector<std::string>& paths, int& effect) override;
    bool write_text(const std::string& gbk) override;
    bool write_picture(const gfx::IMAGE& picture) override;

private:
    int ticket_ = 0;
    bool answered_ = false;
    gfx::ClipboardContent answer_;
};

}  // namespace nd::content
