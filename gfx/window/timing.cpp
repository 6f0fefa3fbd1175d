// The tick count and the two sleeps. clock_nanosleep on the monotonic clock
// is the precise timer: frame pacing sleeps to the millisecond with it.
#include <time.h>

#include <cerrno>
#include <cstdint>

#include "gfx/window/window.h"
#include "gfx/window/window_state.h"

namespace gfx {

namespace {

void sleep_ns(int64_t ns) {
    timespec request{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    // A signal (the program being told to stop) must not cut a sleep short
    // in a way the caller would mistake for time having passed, so resume.
    while (clock_nanosleep(CLOCK_MONOTONIC, 0, &request, &request) == EINTR) {
    }
}

}  // namespace

uint64_t tick_ms() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
}

double precise_ms() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

void sleep_ms(int ms) {
    if (ms <= 0) return;
    sleep_ns(static_cast<int64_t>(ms) * 1000000);
}

void sleep_precise_ms(double ms) {
    if (ms <= 0) return;
    sleep_ns(static_cast<int64_t>(ms * 1e6));
}

void plain_sleep(int ms) {
    if (ms <= 0) return;
    timespec request{ms / 1000, static_cast<long>(ms % 1000) * 1000000};
    while (nanosleep(&request, &request) != 0 && errno == EINTR) {
    }
}

}  // namespace gfx
