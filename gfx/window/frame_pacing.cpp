#include "gfx/window/frame_pacing.h"

#include <cassert>

namespace gfx {

void pace_frame(FrameSchedule* schedule, int fps, PacingClock* clock) {
    assert(fps > 0);
    const double period = 1000.0 / fps;
    double now = clock->now();
    double& last = schedule->last;
    if (last == 0) last = now;

    const double base = (last + period + 10 * period > now) ? last : now;
    // Sleeping is skipped when the frame is already more than 100 ms late;
    // otherwise sleep in pieces, since a sleep may end a little early. Each
    // piece overshoots by 10 us so that the loop always ends.
    if (base + period + 100 >= now) {
        while (now <= base + period) {
            clock->sleep(base + period - now + 0.01);
            now = clock->now();
        }
    }
    clock->pump();
    now = clock->now();

    if (last + period + 10 * period <= now || last > now) {
        last = now;
    } else {
        last += period;
    }
}

}  // namespace gfx
