#include "session/release.h"

#include <type_traits>

#include "settings/settings.h"

namespace nd {

namespace {

uint64_t single_number(const ReleaseNumbers& v) {
    return v.major * 1000000ull + v.minor * 10000ull + v.patch;
}

constinit ReleaseNews g_news;
static_assert(std::is_trivially_destructible_v<ReleaseNews>);

}  // namespace

ReleaseNumbers own_version() {
    return {kVersionMajor, kVersionMinor, kVersionPatch};
}

bool release_offered(const ReleaseNumbers& newest) {
    const ReleaseNumbers own = own_version();
    return newest.major == own.major && single_number(newest) > single_number(own);
}

void ReleaseNews::offer(const ReleaseNumbers& newest) {
    if (!release_offered(newest)) return;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_available.load() && single_number(newest) <= single_number(m_newest)) return;
        m_newest = newest;
    }
    m_available.store(true, std::memory_order_release);
}

bool ReleaseNews::update_available() const {
    return m_available.load(std::memory_order_acquire);
}

ReleaseNumbers ReleaseNews::newest() const {
    if (!update_available()) return own_version();
    std::lock_guard<std::mutex> hold(m_lock);
    return m_newest;
}

ReleaseNews& release_news() {
    return g_news;
}

bool accept_update(App& app, const ReleaseNews& news) {
    if (!news.update_available()) return false;
    app.RunState.store(kQuitAndUpdate);
    return true;
}

}  // namespace nd
