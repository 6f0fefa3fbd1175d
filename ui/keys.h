// Editing key codes: one integer per key for every text box, whatever sent
// it. Characters are their byte (printable ASCII 32..127, GBK bytes
// 129..254, each byte of a pair a code of its own), the control keys their
// control character, and the navigation keys small negative numbers.
#pragma once

#include "gfx/window/window.h"

namespace nd::ui {

inline constexpr int kKeyNone = 0;
inline constexpr int kKeySelectAll = 1;  // Ctrl+A
inline constexpr int kKeyCopy = 3;       // Ctrl+C
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyPaste = 22;  // Ctrl+V
inline constexpr int kKeyRedo = 25;   // Ctrl+Y
inline constexpr int kKeyUndo = 26;   // Ctrl+Z
inline constexpr int kKeyEscape = 27;
// The Latin-1 middle dot, from keyboards that type it as a code of its own;
// it goes into GBK text as A1 A4.
inline constexpr int kKeyMiddleDot = 183;
inline constexpr int kKeyDelete = -1;
inline constexpr int kKeyHome = -2;
inline constexpr int kKeyEnd = -3;
inline constexpr int kKeyPageUp = -4;
inline constexpr int kKeyPageDown = -5;
inline constexpr int kKeyLeft = -6;
inline constexpr int kKeyRight = -7;
inline constexpr int kKeyUp = -8;
inline constexpr int kKeyDown = -9;

// The editing code of a key record from the window: a character record
// gives its byte (control keys arrive as control characters too), a
// key-down of a navigation key its negative code, anything else kKeyNone.
int edit_code(const gfx::KeyMsg& key);

}  // namespace nd::ui
