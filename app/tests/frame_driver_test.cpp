#include "app/frame_driver.h"

#include <gtest/gtest.h>

#include "board/main_view.h"
#include "gfx/window/window.h"
#include "session/workspace.h"
#include "settings/settings.h"
#include "skins/palette.h"
#include "store/locks.h"

namespace nd {
namespace {

// The frame loop on a headless window with the board's own view, whose input
// step is replaced by a script: the board's input is what asks for a new
// size, so steering from there runs on the loop's own thread, in frame order.
class FrameLoop : public ::testing::Test {
protected:
    void SetUp() override {
        gfx::force_headless(true);
        ASSERT_EQ(gfx::open_window(64, 32, 0x19), 0);
        set_load_progress(100);
        s_request = kRunning;
        s_frames_after = 0;
        m_steps = board_view_steps();
        m_steps.input = scripted_input;
        m_app.View = &m_steps;
        m_app.WindowWidth = 64;
        m_app.WindowHeight = 32;
        m_app.MainView = create_main_view(m_app);
    }
    void TearDown() override {
        m_steps.destroy(m_app.MainView, m_app);
        if (m_app.Canvas) gfx::delete_image(m_app.Canvas);
        gfx::close_window();
    }

    // On the first frame asks for `s_request` at `s_width` x `s_height`; once
    // the loop has carried it out and drawn two frames at the new size, asks
    // it to quit.
    static void scripted_input(MainViewState*, App& app) {
        if (s_request != kRunning) {
            app.WindowWidth = s_width;
            app.WindowHeight = s_height;
            app.RunState.store(s_request);
            s_request = kRunning;
            return;
        }
        if (++s_frames_after == 2) app.RunState.store(kQuit);
    }

    void steer(int32_t state, int width, int height) {
        s_request = state;
        s_width = width;
        s_height = height;
    }

    // Every pixel inside the board's one-pixel frame is the page colour:
    // the empty board was drawn at the image's whole size.
    static bool all_background(const gfx::IMAGE* image) {
        const uint32_t bg = palette_color(kPalPageBackground, 0) & 0xFFFFFF;
        for (int y = 1; y < image->height - 3; ++y) {
            for (int x = 1; x < image->width - 1; ++x) {
                if ((image->pixels[size_t(y * image->width + x)] & 0xFFFFFF) != bg) return false;
            }
        }
        return true;
    }

    static inline int32_t s_request = kRunning;
    static inline int s_width = 0;
    static inline int s_height = 0;
    static inline int s_frames_after = 0;
    MainViewSteps m_steps;
    App m_app;
};

TEST_F(FrameLoop, RelayoutResizesTheWindowAndRepaints) {
    steer(kRelayout, 40, 20);
    run_main_loop(m_app);
    EXPECT_EQ(m_app.RunState.load(), kQuit);
    EXPECT_EQ(gfx::image_width(gfx::screen_page()), 40);
    EXPECT_EQ(gfx::image_height(gfx::screen_page()), 20);
    EXPECT_TRUE(all_background(gfx::screen_page()));
    EXPECT_EQ(m_app.Canvas, nullptr);
}

TEST_F(FrameLoop, NewCanvasSizeMakesTheCanvas) {
    steer(kRecreateCanvas, 48, 24);
    run_main_loop(m_app);
    EXPECT_EQ(m_app.RunState.load(), kQuit);
    ASSERT_NE(m_app.Canvas, nullptr);
    EXPECT_EQ(gfx::image_width(m_app.Canvas), 48);
    EXPECT_EQ(gfx::image_height(m_app.Canvas), 24);
    EXPECT_TRUE(all_background(m_app.Canvas));
    EXPECT_EQ(gfx::image_width(gfx::screen_page()), 48);
    EXPECT_TRUE(all_background(gfx::screen_page()));
}

// The high-performance option of the program's settings profile is read
// every frame, so switching it takes effect at once.
TEST_F(FrameLoop, TheHighPerformanceOptionRaisesTheWorkingRate) {
    ConfigProfile& own = program_config().profiles[kProductCode];
    own.options[2] = 1;
    steer(kRunning, 64, 32);
    run_main_loop(m_app);
    EXPECT_EQ(m_app.HighPerformance, 1);
    EXPECT_EQ(m_app.ActiveFps, 60);
    own.options[2] = 0;
    m_app.RunState.store(kRunning);
    s_frames_after = 0;
    run_main_loop(m_app);
    EXPECT_EQ(m_app.HighPerformance, 0);
}

TEST_F(FrameLoop, ClosedWindowEndsTheLoopAsQuit) {
    gfx::close_window();
    run_main_loop(m_app);
    EXPECT_EQ(m_app.RunState.load(), kQuit);
}

}  // namespace
}  // namespace nd
