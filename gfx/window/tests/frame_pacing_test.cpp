#include "gfx/window/frame_pacing.h"

#include <gtest/gtest.h>

#include <vector>

namespace gfx {
namespace {

// A clock that only moves when the code under test sleeps or the test says
// work was done. Each pump() records the time the frame was shown.
class FakeClock : public PacingClock {
public:
    double t = 1000;
    std::vector<double> shown;
    double now() override { return t; }
    void sleep(double ms) override { t += ms; }
    void pump() override { shown.push_back(t); }
};

// Runs `frames` frames at 50 fps (20 ms) with `work[i]` ms of drawing before
// frame i, returning when each frame was shown.
std::vector<double> run(const std::vector<double>& work) {
    FakeClock clock;
    FrameSchedule schedule;
    for (double w : work) {
        clock.t += w;
        pace_frame(&schedule, 50, &clock);
    }
    return clock.shown;
}

TEST(FramePacing, SteadyWorkKeepsTheGrid) {
    std::vector<double> shown = run(std::vector<double>(8, 5.0));
    // The first frame starts the schedule at 1005 and is shown one period on.
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_NEAR(shown[i], 1005 + 20.0 * (i + 1), 0.1) << "frame " << i;
    }
}

TEST(FramePacing, ShortStallIsMadeUp) {
    // Frame 3 takes 70 ms: the frames after it are shown without sleeping
    // until the schedule is met again, then the original grid continues.
    std::vector<double> work(10, 1.0);
    work[3] = 70;
    std::vector<double> shown = run(work);
    EXPECT_NEAR(shown[2], 1001 + 60, 0.1);
    EXPECT_NEAR(shown[3], 1001 + 60 + 70, 0.1);  // late, shown at once
    EXPECT_NEAR(shown[4], shown[3] + 1, 0.1);    // still behind: no sleep
    EXPECT_NEAR(shown[9], 1001 + 200, 0.1);      // back on the grid
}

TEST(FramePacing, LongStallRestartsTheSchedule) {
    // 500 ms is more than eleven periods: no racing to catch up; the schedule
    // restarts from the moment the late frame was shown.
    std::vector<double> work(6, 1.0);
    work[2] = 500;
    std::vector<double> shown = run(work);
    const double restarted = shown[2];
    EXPECT_NEAR(restarted, 1001 + 40 + 500 + 20, 0.1);
    for (size_t i = 3; i < shown.size(); ++i) {
        EXPECT_NEAR(shown[i], restarted + 20.0 * (i - 2), 0.1) << "frame " << i;
    }
}

}  // namespace
}  // namespace gfx
