#include "ui/clipboard.h"

namespace nd::ui {

namespace {

ClipboardHooks g_hooks;

}  // namespace

void set_clipboard_hooks(const ClipboardHooks& hooks) {
    g_hooks = hooks;
}

bool clipboard_write_text(const std::string& gbk) {
    return g_hooks.write_text && g_hooks.write_text(gbk);
}

bool clipboard_read_text(std::string* gbk) {
    return g_hooks.read_text && g_hooks.read_text(gbk);
}

}  // namespace nd::ui
