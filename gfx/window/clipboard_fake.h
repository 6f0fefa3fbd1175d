// The in-process clipboard that a headless window gets, so tests of the rest
// of the program can paste what "another program" offered and see what the
// program wrote. Reads are answered at once, by the same rules as the real
// clipboard.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace gfx {

// Target name and bytes, in the owner's order ("UTF8_STRING", "image/png",
// "text/uri-list", "x-special/gnome-copied-files", ...).
using ClipEntries = std::vector<std::pair<std::string, std::string>>;

// Replaces the in-process clipboard's content as another program would.
void fake_clipboard_offer(ClipEntries entries);
// What the in-process clipboard holds now.
ClipEntries fake_clipboard_contents();

// Stops the clipboard in use and forgets which kind it was; the next call
// chooses again (tests moving between headless and a display).
void clipboard_reset();

}  // namespace gfx
