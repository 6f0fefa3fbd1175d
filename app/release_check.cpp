#include "app/release_check.h"

#include <chrono>
#include <mutex>
#include <thread>

#include "settings/settings.h"

namespace nd {

int check_newest_release(const ServerAddress& control, uint8_t product_flag,
                         const QueryTimeouts& timeouts, ReleaseNews& news, App& app) {
    Version newest;
    const int status = ask_newest_release(control, kProductCode, product_flag, timeouts, &newest);
    if (status == kQueryOk) news.offer({newest.major, newest.minor, newest.patch});
    if (news.update_available()) app.UpdateAnnounced.store(true);
    return status;
}

void start_release_check(App& app, const ServerAddress& control, uint8_t product_flag) {
    static std::once_flag started;
    std::call_once(started, [&] {
        std::thread([&app, control, product_flag] {
            for (;;) {
                static_cast<void>(check_newest_release(control, product_flag, QueryTimeouts{},
                                                       release_news(), app));
                std::this_thread::sleep_for(std::chrono::seconds(kReleaseCheckPeriodSeconds));
            }
        }).detach();
    });
}

}  // namespace nd
