#include "app/workers.h"

#include <mutex>
#include <thread>

#include "gfx/window/window.h"
#include "session/main_view.h"
#include "store/locks.h"

namespace nd {

void pulse_step(App& app) {
    app.IdleTicks.fetch_add(1);
    app.BlinkPhase.store(app.BlinkPhase.load() ^ 1);
    std::lock_guard<std::mutex> lock(app.PulseLock);
    if (app.AnimationCountdown > 0) --app.AnimationCountdown;
}

int autosave_step(App& app, int count) {
    int32_t quiet = app.QuietCountdown.load();
    while (quiet > 0 && !app.QuietCountdown.compare_exchange_weak(quiet, quiet - 1)) {
    }
    ++count;
    if (count < kAutosaveInterval) return count;
    std::lock_guard<std::mutex> lock(StorageLock);
    // Until a board is loaded the count stays up, so the check repeats every
    // second instead of waiting a whole interval again.
    if (app.MainView && app.View->autosave(app.MainView, app)) return 0;
    return count;
}

void start_pulse_thread(App& app) {
    static std::once_flag started;
    std::call_once(started, [&app] {
        std::thread([&app] {
            for (;;) {
                gfx::plain_sleep(500);
                pulse_step(app);
            }
        }).detach();
    });
}

void start_autosave_thread(App& app) {
    static std::once_flag started;
    std::call_once(started, [&app] {
        std::thread([&app] {
            int count = 0;
            for (;;) {
                gfx::plain_sleep(1000);
                count = autosave_step(app, count);
            }
        }).detach();
    });
}

}  // namespace nd
