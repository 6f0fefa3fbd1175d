#include "gfx/window/drops.h"

#include <deque>
#include <mutex>

#include "gfx/window/clipboard.h"

namespace gfx {

namespace {

// Drops come one at a time from a person's hand; a frame loop that does not
// take them for this many drops keeps the newest.
constexpr size_t kQueuedDrops = 16;

struct Drops {
    std::mutex mutex;
    std::deque<DropRecord> queue;
    DropRecord gathering;
    bool open = false;
};

Drops& drops() {
    static Drops state;
    return state;
}

}  // namespace

bool take_drop(DropRecord* out) {
    Drops& d = drops();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (d.queue.empty()) return false;
    if (out) *out = std::move(d.queue.front());
    d.queue.pop_front();
    return true;
}

bool drop_pending() {
    Drops& d = drops();
    std::lock_guard<std::mutex> lock(d.mutex);
    return !d.queue.empty();
}

void drop_begin() {
    Drops& d = drops();
    std::lock_guard<std::mutex> lock(d.mutex);
    d.gathering = DropRecord{};
    d.open = true;
}

void drop_file(const char* path) {
    Drops& d = drops();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (!d.open) {
        d.gathering = DropRecord{};
        d.open = true;
    }
    if (path && path[0] == '/' && d.gathering.paths.size() < kClipMaxFiles) {
        d.gathering.paths.emplace_back(path);
    }
}

void drop_complete(int x, int y) {
    Drops& d = drops();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (!d.open) return;
    d.open = false;
    if (d.gathering.paths.empty()) return;
    d.gathering.x = x;
    d.gathering.y = y;
    if (d.queue.size() == kQueuedDrops) d.queue.pop_front();
    d.queue.push_back(std::move(d.gathering));
    d.gathering = DropRecord{};
}

void reset_drops() {
    Drops& d = drops();
    std::lock_guard<std::mutex> lock(d.mutex);
    d.queue.clear();
    d.gathering = DropRecord{};
    d.open = false;
}

}  // namespace gfx
