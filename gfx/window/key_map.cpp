#include "gfx/window/key_map.h"

#include <SDL2/SDL.h>

namespace gfx {

namespace {

struct KeyPair {
    SDL_Keycode sdl;
    int vk;
};

// Keys whose SDL code is not a letter, digit or F-key run.
constexpr KeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, kVkBack},  {SDLK_TAB, kVkTab},       {SDLK_RETURN, kVkReturn},
    {SDLK_KP_ENTER, kVkReturn}, {SDLK_ESCAPE, kVkEscape}, {SDLK_SPACE, kVkSpace},
    {SDLK_PAGEUP, kVkPrior},    {SDLK_PAGEDOWN, kVkNext}, {SDLK_END, kVkEnd},
    {SDLK_HOME, kVkHome},       {SDLK_LEFT, kVkLeft},     {SDLK_UP, kVkUp},
    {SDLK_RIGHT, kVkRight},     {SDLK_DOWN, kVkDown},     {SDLK_INSERT, kVkInsert},
    {SDLK_DELETE, kVkDelete},   {SDLK_LSHIFT, kVkShift},  {SDLK_RSHIFT, kVkShift},
    {SDLK_LCTRL, kVkControl},   {SDLK_RCTRL, kVkControl}, {SDLK_LALT, kVkMenu},
    {SDLK_RALT, kVkMenu},       {SDLK_PAUSE, 0x13},       {SDLK_CAPSLOCK, 0x14},
    {SDLK_PRINTSCREEN, 0x2C},   {SDLK_LGUI, 0x5B},        {SDLK_RGUI, 0x5C},
    {SDLK_APPLICATION, 0x5D},   {SDLK_KP_MULTIPLY, 0x6A}, {SDLK_KP_PLUS, 0x6B},
    {SDLK_KP_MINUS, 0x6D},      {SDLK_KP_PERIOD, 0x6E},   {SDLK_KP_DIVIDE, 0x6F},
    {SDLK_NUMLOCKCLEAR, 0x90},  {SDLK_SCROLLLOCK, 0x91},  {SDLK_SEMICOLON, 0xBA},
    {SDLK_EQUALS, 0xBB},        {SDLK_COMMA, 0xBC},       {SDLK_MINUS, 0xBD},
    {SDLK_PERIOD, 0xBE},        {SDLK_SLASH, 0xBF},       {SDLK_BACKQUOTE, 0xC0},
    {SDLK_LEFTBRACKET, 0xDB},   {SDLK_BACKSLASH, 0xDC},   {SDLK_RIGHTBRACKET, 0xDD},
    {SDLK_QUOTE, 0xDE},
};

}  // namespace

int virtual_key_from_sdl(int32_t keycode, int scancode) {
    if (keycode >= SDLK_a && keycode <= SDLK_z) return 'A' + (keycode - SDLK_a);
    if (keycode >= SDLK_0 && keycode <= SDLK_9) return '0' + (keycode - SDLK_0);
    if (keycode >= SDLK_F1 && keycode <= SDLK_F12) return kVkF1 + (keycode - SDLK_F1);
    if (keycode >= SDLK_F13 && keycode <= SDLK_F24) return kVkF1 + 12 + (keycode - SDLK_F13);
    if (keycode >= SDLK_KP_1 && keycode <= SDLK_KP_9) return 0x61 + (keycode - SDLK_KP_1);
    if (keycode == SDLK_KP_0) return 0x60;
    for (const KeyPair& pair : kNamedKeys) {
        if (pair.sdl == keycode) return pair.vk;
    }
    // A layout whose letter keys produce other characters still has the
    // physical letter positions; use them so Ctrl shortcuts keep working.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return 'A' + (scancode - SDL_SCANCODE_A);
    }
    return 0;
}

int control_character(int virtual_key, bool control, bool alt) {
    switch (virtual_key) {
        case kVkBack:
        case kVkTab:
        case kVkReturn:
        case kVkEscape:
            return virtual_key;
        default:
            break;
    }
    if (control && !alt && virtual_key >= 'A' && virtual_key <= 'Z') {
        return virtual_key - 'A' + 1;
    }
    return 0;
}

}  // namespace gfx
