// The frame schedule behind frame_wait. It is kept apart from the window so
// that its rules can be run against a fake clock.
#pragma once

namespace gfx {

// What the schedule needs from the outside world. Times are milliseconds of
// a monotonic high-resolution clock.
class PacingClock {
public:
    virtual ~PacingClock() = default;
    virtual double now() = 0;
    virtual void sleep(double ms) = 0;
    // Handles window events and shows the screen page.
    virtual void pump() = 0;
};

struct FrameSchedule {
    double last = 0;  // when the last frame was due; 0 before the first
};

// Ends one frame at `fps`: frames follow one another every 1000 / fps ms. A
// short stall is made up over the next frames; one of more than about eleven
// periods restarts the schedule instead of racing to catch up.
void pace_frame(FrameSchedule* schedule, int fps, PacingClock* clock);

}  // namespace gfx
