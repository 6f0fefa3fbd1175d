#include "ui/keys.h"

#include "gfx/window/key_map.h"

namespace nd::ui {

int edit_code(const gfx::KeyMsg& key) {
    if (key.kind == gfx::kKeyChar) return key.key <= 0xFF ? static_cast<int>(key.key) : kKeyNone;
    if (key.kind != gfx::kKeyDown) return kKeyNone;
    // Backspace, Enter, Tab and Esc also arrive as characters; only the keys
    // that type nothing are taken from their key-down.
    switch (static_cast<int>(key.key)) {
        case gfx::kVkDelete:
            return kKeyDelete;
        case gfx::kVkHome:
            return kKeyHome;
        case gfx::kVkEnd:
            return kKeyEnd;
        case gfx::kVkPrior:
            return kKeyPageUp;
        case gfx::kVkNext:
            return kKeyPageDown;
        case gfx::kVkLeft:
            return kKeyLeft;
        case gfx::kVkRight:
            return kKeyRight;
        case gfx::kVkUp:
            return kKeyUp;
        case gfx::kVkDown:
            return kKeyDown;
        default:
            return kKeyNone;
    }
}

}  // namespace nd::ui
