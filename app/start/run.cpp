#include "app/start/run.h"

#include <cstdio>

#include "app/start/draw.h"
#include "app/start/session.h"
#include "app/start/texts.h"
#include "base/web_address.h"
#include "gfx/window/window.h"
#include "store/locks.h"

namespace nd::start {

namespace {

// The page waits for the user most of the time, so it is paced like an idle
// board (30 frames a second) rather than as fast as the start-up frame; while
// a workspace loads, 60 keeps the progress line moving smoothly.
constexpr int kIdleFps = 30;
constexpr int kLoadingFps = 60;
constexpr int kLoadWaitAtExitMs = 30000;

// Carries out what a click or key asked for. True when the user closed the
// page.
bool carry_out(StartSession* s, const Action& action) {
    switch (action.kind) {
        case ActionKind::kNone:
            break;
        case ActionKind::kOpenRecent:
            open_recent(s, action.index);
            break;
        case ActionKind::kChooseNew:
            begin_choosing(s, EntryPurpose::kNew);
            break;
        case ActionKind::kChooseOpen:
            begin_choosing(s, EntryPurpose::kOpen);
            break;
        case ActionKind::kMinimise:
            gfx::minimise_window();
            break;
        case ActionKind::kClose:
            return true;
        case ActionKind::kOpenHelp:
            // A link that cannot be opened does nothing, like one without
            // an address.
            static_cast<void>(open_web_address(s->links.address[action.index]));
            break;
        case ActionKind::kSubmitEntry:
            submit_entry(s);
            break;
        case ActionKind::kDismissNotice:
            dismiss_notice(s);
            break;
    }
    return false;
}

// The window closed while a workspace was loading: the loader fills the
// tables the program is about to tear down, so it is let finish (loads take
// seconds; the wait is bounded) and the workspace's lock is given back.
void let_go_of_load(LoadJob* job) {
    if (!job) return;
    for (int waited = 0; waited < kLoadWaitAtExitMs; waited += 10) {
        if (job->state.load(std::memory_order_acquire) != LoadState::kRunning) break;
        gfx::plain_sleep(10);
    }
    if (job->state.load(std::memory_order_acquire) == LoadState::kDone) {
        close_workspace_settings(job->settings);
    }
}

int open_page_window() {
    gfx::set_caption(start_text::kWindowCaption);
    gfx::Rect area = gfx::work_area();
    int x = area.x + (area.w > layout::kWidth ? (area.w - layout::kWidth) / 2 : 0);
    int y = area.y + (area.h > layout::kHeight ? (area.h - layout::kHeight) / 2 : 0);
    gfx::set_window_mode(0, x, y);
    int rc = gfx::open_window(
        layout::kWidth, layout::kHeight,
        gfx::kWindowBorderless | gfx::kWindowManualRefresh | gfx::kWindowNoForcedExit);
    // The main window is placed by its own rules.
    gfx::set_window_mode(0, -1, -1);
    if (rc != 0) return -1;
    if (gfx::headless()) {
        std::fprintf(stderr, "nodrel: no display to show the start page on (is DISPLAY set?)\n");
        gfx::close_window();
        return -1;
    }
    return 0;
}

}  // namespace

int run_start_page(const StartOptions& options, std::shared_ptr<LoadJob>* loaded) {
    if (open_page_window() != 0) return -1;
    StartSession s;
    s.recent = options.recent;
    s.workspaces_dir = options.workspaces_dir;
    s.links = load_help_links(options.servers_cfg);
    refresh_rows(&s);
    StartPictures pictures;
    load_start_pictures(&pictures, options.skin);

    int result = -1;
    while (gfx::window_alive()) {
        bool closed = false;
        while (!closed && gfx::mouse_pending()) {
            closed = carry_out(&s, start_mouse(&s.state, s.rows, gfx::get_mouse()));
        }
        // key_pending is -1 once the window has stopped; get_key then
        // returns at once with nothing, so only a positive answer may loop.
        while (!closed && gfx::key_pending() > 0) {
            closed = carry_out(&s, start_key(&s.state, gfx::get_key()));
        }
        if (closed) break;
        if (s.state.mode == Mode::kChoosing) poll_choosing(&s);
        if (s.state.mode == Mode::kLoading && poll_loading(&s) == 1) {
            result = 0;
            break;
        }
        if (s.state.mode == Mode::kEntry) {
            // An input method opens its composition box under the field.
            const Rect& f = layout::kEntryField;
            gfx::set_caret_rect(f.x, f.y, f.w, f.h);
        }
        StartView view;
        view.names = &s.names;
        view.rows = &s.rows;
        view.state = &s.state;
        view.progress = LoadProgress.load(std::memory_order_relaxed);
        if (s.state.mode == Mode::kLoading) view.label = load_label();
        for (int k = 0; k < 2; ++k) view.has_link[k] = !s.links.address[k].empty();
        draw_start_page(gfx::screen_page(), pictures, view, options.skin);
        gfx::frame_wait(s.state.mode == Mode::kLoading ? kLoadingFps : kIdleFps);
    }
    if (s.state.mode == Mode::kChoosing) chooser_cancel(&s.chooser);
    if (result != 0) let_go_of_load(s.job.get());
    release_start_pictures(&pictures);
    gfx::close_window();
    if (result == 0) *loaded = s.job;
    return result;
}

}  // namespace nd::start
