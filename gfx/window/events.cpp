// SDL events to the layer's mouse and key messages.
#include <SDL2/SDL.h>

#include <string>

#include "base/gbk.h"
#include "gfx/window/drops.h"
#include "gfx/window/input_queue.h"
#include "gfx/window/key_map.h"
#include "gfx/window/window.h"
#include "gfx/window/window_state.h"

namespace gfx {

namespace {

// SDL stamps events with its own millisecond count; the queues use tick_ms().
uint64_t arrival_tick(uint32_t sdl_timestamp) {
    uint64_t now = tick_ms();
    uint32_t age = SDL_GetTicks() - sdl_timestamp;
    return age < now ? now - age : now;
}

uint32_t modifier_flags(uint16_t mod) {
    uint32_t flags = 0;
    if (mod & KMOD_SHIFT) flags |= kModShift;
    if (mod & KMOD_CTRL) flags |= kModControl;
    return flags;
}

uint32_t held_buttons(uint32_t sdl_state) {
    uint32_t buttons = 0;
    if (sdl_state & SDL_BUTTON_LMASK) buttons |= kMouseLeft;
    if (sdl_state & SDL_BUTTON_RMASK) buttons |= kMouseRight;
    if (sdl_state & SDL_BUTTON_MMASK) buttons |= kMouseMiddle;
    return buttons;
}

uint32_t button_flag(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            return kMouseLeft;
        case SDL_BUTTON_RIGHT:
            return kMouseRight;
        case SDL_BUTTON_MIDDLE:
            return kMouseMiddle;
        default:
            return 0;
    }
}

void push_text(const char* utf8, uint64_t tick) {
    // Characters GBK cannot hold are refused one by one; the rest of what
    // was typed or composed still arrives.
    const std::string gbk = nd::gbk_of(utf8);
    uint32_t flags = modifier_flags(SDL_GetModState());
    for (char byte : gbk) {
        push_key_message({static_cast<uint8_t>(byte), kKeyChar, flags}, tick);
    }
}

// Where files were let go, in client coordinates. SDL reports no position
// with a drop, and the pointer sends the window no motion while another
// program drags, so the pointer is asked where it is now.
void drop_point(int* x, int* y) {
    SDL_Window* window = window_state().window;
    if (!window) {
        mouse_position(x, y);
        return;
    }
    int global_x = 0;
    int global_y = 0;
    int window_x = 0;
    int window_y = 0;
    SDL_GetGlobalMouseState(&global_x, &global_y);
    SDL_GetWindowPosition(window, &window_x, &window_y);
    *x = global_x - window_x;
    *y = global_y - window_y;
}

}  // namespace

bool translate_event(const SDL_Event& event) {
    switch (event.type) {
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (event.button.which == SDL_TOUCH_MOUSEID) return false;
            uint32_t buttons = held_buttons(SDL_GetMouseState(nullptr, nullptr));
            uint32_t button = button_flag(event.button.button);
            MouseMsg msg{event.button.x, event.button.y, kMouseMove, buttons, 0};
            // Side buttons have no record kind of their own; like every other
            // pointer event they arrive as a move.
            if (button) {
                msg.kind = event.type == SDL_MOUSEBUTTONDOWN ? kMouseDown : kMouseUp;
                msg.flags = button;
            }
            msg.flags |= modifier_flags(SDL_GetModState());
            push_mouse_message(msg, arrival_tick(event.button.timestamp), buttons);
            return true;
        }
        case SDL_MOUSEMOTION: {
            if (event.motion.which == SDL_TOUCH_MOUSEID) return false;
            uint32_t buttons = held_buttons(event.motion.state);
            MouseMsg msg{event.motion.x, event.motion.y, kMouseMove,
                         buttons | modifier_flags(SDL_GetModState()), 0};
            push_mouse_message(msg, arrival_tick(event.motion.timestamp), buttons);
            return true;
        }
        case SDL_MOUSEWHEEL: {
            if (event.wheel.which == SDL_TOUCH_MOUSEID || event.wheel.y == 0) return false;
            int x = 0;
            int y = 0;
            uint32_t buttons = held_buttons(SDL_GetMouseState(&x, &y));
            int direction = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
            // One notch is 120; positive when turned away from the user.
            MouseMsg msg{x, y, kMouseWheel, modifier_flags(SDL_GetModState()),
                         event.wheel.y * direction * 120};
            push_mouse_message(msg, arrival_tick(event.wheel.timestamp), buttons);
            return true;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const SDL_Keysym& sym = event.key.keysym;
            int vk = virtual_key_from_sdl(sym.sym, sym.scancode);
            if (vk == 0) return false;
            uint64_t tick = arrival_tick(event.key.timestamp);
            uint32_t flags = modifier_flags(sym.mod);
            bool down = event.type == SDL_KEYDOWN;
            push_key_message({static_cast<uint32_t>(vk), down ? kKeyDown : kKeyUp, flags}, tick,
                             sym.scancode);
            if (down) {
                int ch =
                    control_character(vk, (sym.mod & KMOD_CTRL) != 0, (sym.mod & KMOD_ALT) != 0);
                if (ch) push_key_message({static_cast<uint32_t>(ch), kKeyChar, flags}, tick);
            }
            return true;
        }
        case SDL_DROPBEGIN:
            drop_begin();
            return true;
        case SDL_DROPFILE:
            drop_file(event.drop.file);
            SDL_free(event.drop.file);
            return true;
        case SDL_DROPTEXT:
            SDL_free(event.drop.file);
            return false;
        case SDL_DROPCOMPLETE: {
            int x = 0;
            int y = 0;
            drop_point(&x, &y);
            drop_complete(x, y);
            return true;
        }
        case SDL_TEXTINPUT:
            push_text(event.text.text, arrival_tick(event.text.timestamp));
            return true;
        default:
            return false;
    }
}

}  // namespace gfx
