// How fast the frame loop runs: fast while the user works or an animation
// plays, slower once nothing has happened for a while, and slowest when the
// window is minimised and in the background.
#pragma once

#include <cstdint>

namespace nd {

struct FrameRateInput {
    bool high_performance = false;
    bool foreground = false;
    bool minimised = false;
    bool input_pending_last_frame = false;
    int32_t quiet_countdown = 0;
    int32_t idle_ticks = 0;  // half-seconds without user activity
    int32_t active_fps = 30;
    int32_t target_fps = 30;  // the rate of the frame before
    int32_t animation_id = -1;
    int32_t animation_fps = 30;
    int32_t animation_countdown = 0;
};

struct FrameRateChoice {
    int32_t active_fps = 30;
    int32_t target_fps = 30;
    int32_t animation_id = -1;
    bool reset_idle = false;  // IdleTicks goes back to 0
};

// The animation that ends by itself when its countdown runs out.
constexpr int32_t kTimedAnimation = 8;

FrameRateChoice choose_frame_rate(const FrameRateInput& in);

}  // namespace nd
