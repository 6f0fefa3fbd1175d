#include "app/frame_rate.h"

#include <gtest/gtest.h>

namespace nd {
namespace {

TEST(FrameRate, ChoiceTable) {
    struct Case {
        const char* name;
        FrameRateInput in;
        int32_t active, target, animation;
        bool reset_idle;
    };
    // Fields: high_performance, foreground, minimised, input_pending_last_frame,
    // quiet_countdown, idle_ticks, active_fps, target_fps, animation_id,
    // animation_fps, animation_countdown.
    const Case cases[] = {
        {"foreground, just active",
         {false, true, false, false, 0, 2, 30, 30, -1, 0, 0},
         30,
         30,
         -1,
         false},
        {"foreground, idle 3 s",
         {false, true, false, false, 0, 6, 30, 30, -1, 0, 0},
         30,
         30,
         -1,
         false},
        {"idle exactly 2.5 s keeps the active rate",
         {false, true, false, false, 0, 5, 45, 30, -1, 0, 0},
         30,
         30,
         -1,
         false},
        {"background keeps a stale active rate",
         {false, false, false, false, 0, 5, 45, 30, -1, 0, 0},
         45,
         45,
         -1,
         false},
        {"background idle",
         {false, false, false, false, 0, 9, 45, 45, -1, 0, 0},
         45,
         30,
         -1,
         false},
        {"minimised in the background",
         {false, false, true, false, 0, 0, 30, 30, -1, 0, 0},
         30,
         6,
         -1,
         false},
        {"minimised but in front",
         {false, true, true, false, 0, 0, 30, 30, -1, 0, 0},
         30,
         30,
         -1,
         false},
        {"minimised with input pending",
         {false, false, true, true, 0, 9, 30, 6, -1, 0, 0},
         30,
         30,
         -1,
         true},
        {"input pending resets idle",
         {false, true, false, true, 0, 9, 30, 30, -1, 0, 0},
         30,
         30,
         -1,
         true},
        {"quiet countdown holds the rate",
         {false, true, false, false, 3, 9, 30, 30, -1, 0, 0},
         30,
         30,
         -1,
         true},
        {"high performance", {true, true, false, false, 0, 9, 30, 30, -1, 0, 0}, 60, 60, -1, true},
        {"high performance minimised",
         {true, false, true, false, 0, 9, 30, 60, -1, 0, 0},
         60,
         6,
         -1,
         true},
        {"animation rate wins",
         {false, true, true, false, 0, 9, 30, 30, 2, 75, 0},
         30,
         75,
         2,
         false},
        {"timed animation running",
         {false, true, false, false, 0, 9, 30, 30, 8, 60, 3},
         30,
         60,
         8,
         false},
        {"timed animation ends, rate unchanged",
         {false, true, false, false, 0, 9, 30, 60, 8, 75, 0},
         30,
         60,
         -1,
         false},
        {"other animations ignore the countdown",
         {false, true, false, false, 0, 9, 30, 30, 5, 75, 0},
         30,
         75,
         5,
         false},
    };
    for (const Case& c : cases) {
        FrameRateChoice out = choose_frame_rate(c.in);
        EXPECT_EQ(out.active_fps, c.active) << c.name;
        EXPECT_EQ(out.target_fps, c.target) << c.name;
        EXPECT_EQ(out.animation_id, c.animation) << c.name;
        EXPECT_EQ(out.reset_idle, c.reset_idle) << c.name;
    }
}

}  // namespace
}  // namespace nd
