#include "app/frame_rate.h"

namespace nd {

FrameRateChoice choose_frame_rate(const FrameRateInput& in) {
    FrameRateChoice out;
    out.active_fps = in.active_fps;
    out.animation_id = in.animation_id;
    out.target_fps = in.target_fps;

    // The working rate: 60 with the high-performance option (which also
    // counts as activity), else 30 while the window has the user's attention.
    if (in.high_performance) {
        out.active_fps = 60;
        out.reset_idle = true;
    } else if (in.foreground) {
        out.active_fps = 30;
    }
    const int32_t idle_ticks = out.reset_idle ? 0 : in.idle_ticks;

    if (in.animation_id != -1) {
        if (in.animation_id == kTimedAnimation && in.animation_countdown <= 0) {
            out.animation_id = -1;  // the rate stays as it was for this frame
        } else {
            out.target_fps = in.animation_fps;
        }
        return out;
    }
    if (!in.input_pending_last_frame && in.quiet_countdown <= 0) {
        if (in.minimised && !in.foreground) {
            out.target_fps = 6;
        } else if (idle_ticks > 5) {
            out.target_fps = 30;
        } else {
            out.target_fps = out.active_fps;
        }
        return out;
    }
    out.target_fps = out.active_fps;
    out.reset_idle = true;
    return out;
}

}  // namespace nd
