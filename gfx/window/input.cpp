// The input calls. The waiting ones keep the window alive while they wait:
// they show pending drawing, handle window events and sleep 1 ms per look.
#include <SDL2/SDL.h>

#include "gfx/window/input_queue.h"
#include "gfx/window/key_map.h"
#include "gfx/window/window.h"
#include "gfx/window/window_state.h"

namespace gfx {

namespace {

void wait_a_little() {
    pump_window();
    sleep_ms(1);
}

// Key-downs of keys that also type a character: the character message that
// follows is what key_hit reports, so these are dropped ahead of it.
bool types_character(uint32_t vk) {
    return vk <= 32 || (vk >= 48 && vk <= 111) || (vk >= 186 && vk <= 222);
}

bool is_special_key(uint32_t vk) {
    return (vk >= 112 && vk <= 127) || (vk >= 33 && vk <= 47);
}

// Whether the platform still reports `vk` held; a key whose release never
// reached the window (focus moved away) must not read as held forever.
bool platform_holds(int vk) {
    if (!window_state().window) return true;
    switch (vk) {
        case kVkShift:
            return (SDL_GetModState() & KMOD_SHIFT) != 0;
        case kVkControl:
            return (SDL_GetModState() & KMOD_CTRL) != 0;
        case kVkMenu:
            return (SDL_GetModState() & KMOD_ALT) != 0;
        default:
            break;
    }
    int scancode = window_state().key_scancode[vk].load();
    if (scancode <= 0 || scancode >= SDL_NUM_SCANCODES) return true;
    return SDL_GetKeyboardState(nullptr)[scancode] != 0;
}

// The queries that do not wait still take in what the window received since
// the last frame, as a window thread of its own would have queued it. A
// manually refreshed window does not show its page here.
void take_events() {
    pump_window(!(window_state().flags & kWindowManualRefresh));
}

}  // namespace

MouseMsg get_mouse() {
    MouseQueue::Entry entry;
    while (!mouse_queue().pop(&entry)) {
        if (!window_alive()) return MouseMsg{};
        wait_a_little();
    }
    return entry.msg;
}

bool mouse_pending() {
    take_events();
    return mouse_queue().size() > 0;
}

void mouse_position(int* x, int* y) {
    if (x) *x = window_state().mouse_x.load();
    if (y) *y = window_state().mouse_y.load();
}

KeyMsg get_key() {
    KeyQueue::Entry entry;
    while (!key_queue().pop(&entry)) {
        if (!window_alive()) return KeyMsg{};
        wait_a_little();
    }
    return entry.msg;
}

int key_pending() {
    take_events();
    if (!window_alive()) return -1;
    return key_queue().size() > 0 ? 1 : 0;
}

int key_hit() {
    take_events();
    if (!window_alive()) return -1;
    KeyQueue::Entry entry;
    while (key_queue().peek(&entry)) {
        bool droppable = entry.msg.kind == kKeyUp ||
                         (entry.msg.kind == kKeyDown && types_character(entry.msg.key));
        if (!droppable) return 1;
        key_queue().pop(nullptr);
    }
    return 0;
}

int get_char() {
    if (!window_alive()) return -1;
    const uint64_t called = tick_ms();
    KeyQueue::Entry entry;
    for (;;) {
        if (!key_queue().pop(&entry)) {
            if (!window_alive()) return 0;
            wait_a_little();
            continue;
        }
        if (entry.tick + 1000 < called) continue;
        if (entry.msg.kind == kKeyChar) return static_cast<int>(entry.msg.key);
        if (entry.msg.kind == kKeyDown && is_special_key(entry.msg.key)) {
            return static_cast<int>(entry.msg.key) + 0x100;
        }
    }
}

int key_down(int virtual_key) {
    if (virtual_key < 0 || virtual_key >= static_cast<int>(kKeyTableSize)) return -1;
    WindowState& state = window_state();
    if (!state.key_held[virtual_key].load()) return 0;
    if (!platform_holds(virtual_key)) {
        state.key_held[virtual_key].store(false);
        return 0;
    }
    return 1;
}

}  // namespace gfx
