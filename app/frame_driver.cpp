#include "app/frame_driver.h"

#include <cassert>
#include <mutex>

#include "app/frame_rate.h"
#include "gfx/window/window.h"
#include "session/main_view.h"
#include "session/progress.h"
#include "session/workspace.h"
#include "settings/settings.h"

namespace nd {

namespace {

// "高性能模式": the third option switch of the program's settings profile.
constexpr int kHighPerformanceOption = 2;

// Frames after a request for a new canvas are paced fast so the re-layout
// follows the pointer closely.
constexpr int kRelayoutFps = 75;

void choose_rate(App& app) {
    // The option is read each frame so that switching it works at once.
    app.HighPerformance = program_config().profiles[kProductCode].options[kHighPerformanceOption];
    FrameRateInput in;
    in.high_performance = app.HighPerformance != 0;
    in.foreground = gfx::window_in_foreground();
    in.minimised = gfx::window_minimised();
    in.input_pending_last_frame = app.InputPendingLastFrame;
    in.quiet_countdown = app.QuietCountdown.load();
    in.idle_ticks = app.IdleTicks.load();
    in.active_fps = app.ActiveFps;
    in.target_fps = app.TargetFps;
    in.animation_id = app.AnimationId;
    in.animation_fps = app.AnimationFps;
    {
        std::lock_guard<std::mutex> lock(app.PulseLock);
        in.animation_countdown = app.AnimationCountdown;
    }
    FrameRateChoice out = choose_frame_rate(in);
    app.ActiveFps = out.active_fps;
    app.TargetFps = out.target_fps;
    app.AnimationId = out.animation_id;
    if (out.reset_idle) app.IdleTicks.store(0);
}

}  // namespace

void run_frames(App& app) {
    assert(app.View && "the main view's steps are set before the loop runs");
    app.RunState.store(kRunning);
    gfx::raise_window();
    for (;;) {
        app.FrameStartTicks = gfx::tick_ms();
        if (!gfx::window_alive()) {
            app.RunState.store(kQuit);
            return;
        }
        const int32_t state = app.RunState.load();
        if (state < 0 || state == kRelayout) return;
        if (state == kRecreateCanvas) {
            app.TargetFps = kRelayoutFps;
            gfx::frame_wait(kRelayoutFps);
            return;
        }
        MainViewState* view = app.MainView;
        const MainViewSteps& steps = *app.View;
        if (app.TestMode) steps.exercise(view, app);
        choose_rate(app);
        if (steps.process_pending(view, app)) {
            app.RunState.store(kQuit);
            return;
        }
        app.InputPendingLastFrame = gfx::mouse_pending() || gfx::key_pending() > 0;
        if (board_ready()) steps.input(view, app);
        if (steps.draw(view, app)) {
            app.RunState.store(kQuit);
            return;
        }
        steps.deferred_resize(view, app);
        gfx::frame_wait(app.TargetFps);
    }
}

void run_main_loop(App& app) {
    for (;;) {
        run_frames(app);
        const int32_t state = app.RunState.load();
        if (state < 0) return;
        if (state == kRecreateCanvas) {
            if (!app.Canvas) {
                app.Canvas = gfx::new_image(app.WindowWidth, app.WindowHeight);
            } else {
                gfx::resize(app.Canvas, app.WindowWidth, app.WindowHeight);
            }
        }
        if (state == kRecreateCanvas || state == kRelayout) {
            app.View->layout(app.MainView, app, app.WindowWidth, app.WindowHeight);
        }
        gfx::resize_window(app.WindowWidth, app.WindowHeight);
        if (app.WindowPlaced) {
            gfx::move_window(app.WindowX, app.WindowY);
        } else {
            const gfx::Rect area = gfx::work_area();
            gfx::move_window(area.x, area.y);
        }
        gfx::set_bk_mode(gfx::kTransparent);
    }
}

}  // namespace nd
