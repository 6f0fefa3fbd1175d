// The layer's Mersenne Twister. Storage writers on worker threads draw from
// it too, so one lock guards the state.
#include <mutex>
#include <random>

#include "gfx/gfx.h"

namespace gfx {
namespace {

std::mutex g_lock;

std::mt19937& engine() {
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

}  // namespace

void random_seed(uint32_t seed) {
    std::lock_guard<std::mutex> hold(g_lock);
    engine().seed(seed);
}

uint32_t random_u32(uint32_t n) {
    uint32_t raw;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        raw = static_cast<uint32_t>(engine()());
    }
    if (n == 0) return raw;
    // The unit value times n: raw / 2^32 * n, always below n.
    return static_cast<uint32_t>((static_cast<uint64_t>(raw) * n) >> 32);
}

double random_unit() {
    uint32_t raw;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        raw = static_cast<uint32_t>(engine()());
    }
    return raw * (1.0 / 4294967296.0);
}

}  // namespace gfx
