// The text caret blinks with the pulse thread, which flips App::BlinkPhase
// every 500 ms: it is drawn in one half of the phase and not in the other.
#pragma once

namespace nd::ui {

constexpr bool caret_visible(int blink_phase) {
    return blink_phase == 0;
}

}  // namespace nd::ui
