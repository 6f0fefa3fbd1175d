// The updater's 500 x 200 window: a message line and a progress bar drawn
// from the updater's shared state thirty times a second.
#pragma once

namespace nd {

class Updater;

// Opens the window centred on the screen and runs its loop until the window
// is closed, or a left-button release arrives after the worker has finished.
// 0, or -1 when the window could not be opened.
[[nodiscard]] int run_update_window(const Updater& updater, const char* caption);

}  // namespace nd
