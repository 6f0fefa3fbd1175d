#include "app/workers.h"

#include <gtest/gtest.h>

namespace nd {
namespace {

TEST(Workers, PulseCountsIdleFlipsBlinkAndRunsTheAnimationDown) {
    App app;
    app.AnimationCountdown = 2;
    for (int i = 0; i < 3; ++i) pulse_step(app);
    EXPECT_EQ(app.IdleTicks.load(), 3);
    EXPECT_EQ(app.BlinkPhase.load(), 1);
    EXPECT_EQ(app.AnimationCountdown, 0);  // stops at 0
}

TEST(Workers, AutosaveCountsQuietDownAndRetriesWhileNothingIsLoaded) {
    App app;
    app.QuietCountdown = 2;
    int count = 0;
    for (int i = 0; i < 4; ++i) count = autosave_step(app, count);
    EXPECT_EQ(app.QuietCountdown.load(), 0);
    // No board is loaded, so the count was never restarted.
    EXPECT_EQ(count, 4);
}

}  // namespace
}  // namespace nd
