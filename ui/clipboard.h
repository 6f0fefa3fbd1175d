// Clipboard text for the text boxes, through hooks the shell sets once the
// window's clipboard is there. Without hooks copying does nothing and
// pasting finds nothing.
#pragma once

#include <string>

namespace nd::ui {

struct ClipboardHooks {
    // Puts GBK text on the clipboard; false when it could not.
    bool (*write_text)(const std::string& gbk) = nullptr;
    // The clipboard's text as GBK; false when it holds none.
    bool (*read_text)(std::string* gbk) = nullptr;
};

void set_clipboard_hooks(const ClipboardHooks& hooks);

bool clipboard_write_text(const std::string& gbk);
bool clipboard_read_text(std::string* gbk);

}  // namespace nd::ui
