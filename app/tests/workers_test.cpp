#include "app/workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include "app/frame_driver.h"
#include "board/main_view.h"
#include "gfx/window/window.h"
#include "store/locks.h"

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

// The pulse and autosave threads beside the frame loop, as the program runs
// them: the loop reads what the threads count while they count it, and the
// autosave thread reaches the view under StorageLock. The threads run on
// after the test, so what they use lives as long as the process.
std::atomic<int> g_autosaves{0};

TEST(Workers, ThreadsRunBesideTheFrameLoop) {
    static App app;
    static MainViewSteps steps = board_view_steps();
    steps.autosave = [](MainViewState*, App&) {
        g_autosaves.fetch_add(1);
        return true;
    };
    // The loop ends once the autosave thread has saved twice.
    steps.input = [](MainViewState*, App& a) {
        if (g_autosaves.load() >= 2) a.RunState.store(kQuit);
    };
    gfx::force_headless(true);
    ASSERT_EQ(gfx::open_window(64, 32, 0x19), 0);
    set_load_progress(100);
    app.View = &steps;
    app.WindowWidth = 64;
    app.WindowHeight = 32;
    app.QuietCountdown = 3;
    // As main() does it: the view takes StorageLock itself while it is made,
    // and only its publication is under the lock.
    MainViewState* made = create_main_view(app);
    {
        std::lock_guard<std::mutex> lock(StorageLock);
        app.MainView = made;
    }
    start_pulse_thread(app);
    start_autosave_thread(app);
    run_main_loop(app);
    EXPECT_EQ(app.RunState.load(), kQuit);
    EXPECT_GE(g_autosaves.load(), 2);
    EXPECT_LT(app.QuietCountdown.load(), 3);
    MainViewState* view = nullptr;
    {
        std::lock_guard<std::mutex> lock(StorageLock);
        view = app.MainView;
        app.MainView = nullptr;
    }
    steps.destroy(view, app);
    gfx::close_window();
}

}  // namespace
}  // namespace nd
