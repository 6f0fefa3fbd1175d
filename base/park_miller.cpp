#include "base/park_miller.h"

namespace nd {

int32_t RandomState = 1;

int32_t park_miller_step(int32_t state) {
    // Schrage: m = a*q + r with q = m / a and r = m % a, so
    // a*s mod m = a*(s % q) - r*(s / q), plus m when that is not positive.
    constexpr int32_t a = 16807, m = 2147483647, q = 127773, r = 2836;
    int32_t hi = state / q;
    int32_t lo = state % q;
    int32_t next = a * lo - r * hi;
    if (next <= 0) next += m;
    return next;
}

void seed_random(uint32_t seed) {
    int32_t s = static_cast<int32_t>(seed & 0x7FFFFFFFu);
    if (s == 0 || s == 2147483647) s = 1;
    RandomState = s;
}

int32_t next_random() {
    RandomState = park_miller_step(RandomState);
    return RandomState;
}

}  // namespace nd
