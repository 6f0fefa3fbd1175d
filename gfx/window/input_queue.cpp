#include "gfx/window/input_queue.h"

#include "gfx/window/window_state.h"

namespace gfx {

MouseQueue& mouse_queue() {
    static MouseQueue queue;
    return queue;
}

KeyQueue& key_queue() {
    static KeyQueue queue;
    return queue;
}

void push_mouse_message(const MouseMsg& msg, uint64_t tick, uint32_t buttons) {
    if (msg.kind == kMouseMove || msg.kind == kMouseWheel) {
        window_state().mouse_x.store(msg.x);
        window_state().mouse_y.store(msg.y);
    }
    mouse_queue().push({msg, tick, buttons});
}

void push_key_message(const KeyMsg& msg, uint64_t tick, int scancode) {
    WindowState& state = window_state();
    if (msg.key < kKeyTableSize) {
        if (msg.kind == kKeyDown) {
            state.key_held[msg.key].store(true);
            state.key_scancode[msg.key].store(scancode);
        } else if (msg.kind == kKeyUp) {
            state.key_held[msg.key].store(false);
        }
    }
    key_queue().push({msg, tick, 0});
}

void reset_input() {
    mouse_queue().clear();
    key_queue().clear();
    for (auto& held : window_state().key_held) held.store(false);
}

}  // namespace gfx
