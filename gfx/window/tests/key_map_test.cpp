#include "gfx/window/key_map.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

namespace gfx {
namespace {

TEST(KeyMap, SdlKeysGiveVirtualKeyCodes) {
    struct Case {
        SDL_Keycode key;
        SDL_Scancode scancode;
        int vk;
    };
    const Case cases[] = {
        {SDLK_a, SDL_SCANCODE_A, 'A'},
        {SDLK_z, SDL_SCANCODE_Z, 'Z'},
        {SDLK_0, SDL_SCANCODE_0, '0'},
        {SDLK_9, SDL_SCANCODE_9, '9'},
        {SDLK_F1, SDL_SCANCODE_F1, 0x70},
        {SDLK_F12, SDL_SCANCODE_F12, 0x7B},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 0x25},
        {SDLK_UP, SDL_SCANCODE_UP, 0x26},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 0x27},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, 0x28},
        {SDLK_HOME, SDL_SCANCODE_HOME, 0x24},
        {SDLK_END, SDL_SCANCODE_END, 0x23},
        {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 0x21},
        {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 0x22},
        {SDLK_INSERT, SDL_SCANCODE_INSERT, 0x2D},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, 0x2E},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 0x0D},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0x0D},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0x1B},
        {SDLK_TAB, SDL_SCANCODE_TAB, 0x09},
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 0x08},
        {SDLK_LCTRL, SDL_SCANCODE_LCTRL, 0x11},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 0x11},
        {SDLK_LALT, SDL_SCANCODE_LALT, 0x12},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 0x10},
        {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 0x10},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, 0x60},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, 0x69},
        {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 0xBA},
        {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, 0xDE},
        // A non-Latin layout: the key at the A position still gives 'A'.
        {0x0444, SDL_SCANCODE_A, 'A'},
        {SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(virtual_key_from_sdl(c.key, c.scancode), c.vk) << SDL_GetKeyName(c.key);
    }
}

TEST(KeyMap, ControlCharacters) {
    struct Case {
        int vk;
        bool ctrl, alt;
        int ch;
    };
    const Case cases[] = {
        {kVkBack, false, false, 8},    {kVkTab, false, false, 9}, {kVkReturn, false, false, 13},
        {kVkEscape, false, false, 27}, {'A', true, false, 1},     {'C', true, false, 3},
        {'V', true, false, 22},        {'Z', true, false, 26},    {'C', true, true, 0},
        {'C', false, false, 0},        {kVkLeft, true, false, 0}, {'5', true, false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(control_character(c.vk, c.ctrl, c.alt), c.ch) << c.vk << " " << c.ctrl;
    }
}

}  // namespace
}  // namespace gfx
