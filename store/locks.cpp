#include "store/locks.h"

#include <cstring>

namespace nd {

std::mutex StorageLock;
std::mutex ProgressLock;
std::atomic<float> LoadProgress{0.0f};

namespace {
std::string g_label;
LoadFailure g_failure;
}  // namespace

void set_load_progress(float percent) {
    std::lock_guard<std::mutex> hold(ProgressLock);
    LoadProgress.store(percent, std::memory_order_relaxed);
}

void add_load_progress(float delta) {
    std::lock_guard<std::mutex> hold(ProgressLock);
    float v = LoadProgress.load(std::memory_order_relaxed) + delta;
    LoadProgress.store(v > 100.0f ? 100.0f : v, std::memory_order_relaxed);
}

void set_load_label(const char* gbk, size_t max_bytes) {
    size_t n = gbk ? strnlen(gbk, max_bytes) : 0;
    std::lock_guard<std::mutex> hold(ProgressLock);
    g_label.assign(gbk ? gbk : "", n);
}

std::string load_label() {
    std::lock_guard<std::mutex> hold(ProgressLock);
    return g_label;
}

void set_load_failure(const LoadFailure& failure) {
    std::lock_guard<std::mutex> hold(ProgressLock);
    g_failure = failure;
}

LoadFailure last_load_failure() {
    std::lock_guard<std::mutex> hold(ProgressLock);
    return g_failure;
}

}  // namespace nd
