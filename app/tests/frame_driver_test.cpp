#include "app/frame_driver.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/main_view.h"
#include "gfx/window/window.h"
#include "skins/palette.h"
#include "store/locks.h"

namespace nd {
namespace {

// The frame loop on a headless window, steered by a second thread the way
// the board's input would steer it.
class FrameLoop : public ::testing::Test {
protected:
    void SetUp() override {
        gfx::force_headless(true);
        ASSERT_EQ(gfx::open_window(64, 32, 0x19), 0);
        set_load_progress(100);
        m_app.WindowWidth = 64;
        m_app.WindowHeight = 32;
        m_app.MainView = create_main_view(m_app);
    }
    void TearDown() override {
        destroy_main_view(m_app.MainView, m_app);
        if (m_app.Canvas) gfx::delete_image(m_app.Canvas);
        gfx::close_window();
    }

    // Asks for `state` at a new size, waits until the loop has carried it out
    // and is running frames again, then asks it to quit.
    void steer(int32_t state, int width, int height) {
        gfx::plain_sleep(50);
        m_app.WindowWidth = width;
        m_app.WindowHeight = height;
        m_app.RunState.store(state);
        for (int i = 0; i < 200 && m_app.RunState.load() != kRunning; ++i) gfx::plain_sleep(5);
        gfx::plain_sleep(50);
        int32_t running = kRunning;
        m_app.RunState.compare_exchange_strong(running, kQuit);
    }

    static bool all_background(const gfx::IMAGE* image) {
        const uint32_t bg = palette_color(kPalPageBackground, 0);
        for (uint32_t p : image->pixels) {
            if (p != bg) return false;
        }
        return true;
    }

    App m_app;
};

TEST_F(FrameLoop, RelayoutResizesTheWindowAndRepaints) {
    std::thread steering([this] { steer(kRelayout, 40, 20); });
    run_main_loop(m_app);
    steering.join();
    EXPECT_EQ(m_app.RunState.load(), kQuit);
    EXPECT_EQ(gfx::image_width(gfx::screen_page()), 40);
    EXPECT_EQ(gfx::image_height(gfx::screen_page()), 20);
    EXPECT_TRUE(all_background(gfx::screen_page()));
    EXPECT_EQ(m_app.Canvas, nullptr);
}

TEST_F(FrameLoop, NewCanvasSizeMakesTheCanvas) {
    std::thread steering([this] { steer(kRecreateCanvas, 48, 24); });
    run_main_loop(m_app);
    steering.join();
    ASSERT_NE(m_app.Canvas, nullptr);
    EXPECT_EQ(gfx::image_width(m_app.Canvas), 48);
    EXPECT_EQ(gfx::image_height(m_app.Canvas), 24);
    EXPECT_TRUE(all_background(m_app.Canvas));
    EXPECT_EQ(gfx::image_width(gfx::screen_page()), 48);
    EXPECT_TRUE(all_background(gfx::screen_page()));
}

TEST_F(FrameLoop, ClosedWindowEndsTheLoopAsQuit) {
    gfx::close_window();
    run_main_loop(m_app);
    EXPECT_EQ(m_app.RunState.load(), kQuit);
}

}  // namespace
}  // namespace nd
