// Platform keys to the virtual-key codes the programs were written against
// (0x41 'A', 0x70 F1, 0x25 left arrow, ...).
#pragma once

#include <cstdint>

namespace gfx {

// Virtual-key codes the programs test by name.
constexpr int kVkBack = 0x08;
constexpr int kVkTab = 0x09;
constexpr int kVkReturn = 0x0D;
constexpr int kVkShift = 0x10;
constexpr int kVkControl = 0x11;
constexpr int kVkMenu = 0x12;  // Alt
constexpr int kVkEscape = 0x1B;
constexpr int kVkSpace = 0x20;
constexpr int kVkPrior = 0x21;
constexpr int kVkNext = 0x22;
constexpr int kVkEnd = 0x23;
constexpr int kVkHome = 0x24;
constexpr int kVkLeft = 0x25;
constexpr int kVkUp = 0x26;
constexpr int kVkRight = 0x27;
constexpr int kVkDown = 0x28;
constexpr int kVkInsert = 0x2D;
constexpr int kVkDelete = 0x2E;
constexpr int kVkF1 = 0x70;

// The virtual-key code of an SDL key (SDL_Keycode, SDL_Scancode as ints so
// callers need not include SDL), or 0 when the key has none.
int virtual_key_from_sdl(int32_t keycode, int scancode);

// The character a key press also types when no text event carries it:
// Backspace 8, Tab 9, Enter 13, Esc 27, and Ctrl+letter 1..26. 0 for none.
int control_character(int virtual_key, bool control, bool alt);

}  // namespace gfx
