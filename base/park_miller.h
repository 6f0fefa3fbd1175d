// The program's one pseudo-random generator: the Park-Miller minimal
// standard (16807 mod 2^31-1), stepped with Schrage's method so no 64-bit
// product is needed. It makes record-key serials, image ids and the settings
// envelope's seeds. Not thread-safe by design: the main thread owns it, and
// workers that need numbers take StorageLock around the draw.
#pragma once

#include <cstdint>

namespace nd {

extern int32_t RandomState;

// Seeds the generator (the program uses the tick count at start). A seed of
// 0 would stick at 0 forever, so it is replaced by 1.
void seed_random(uint32_t seed);

// Advances RandomState and returns it: a value in 1 .. 2^31-2.
int32_t next_random();

// One step of the generator from a given state, without touching
// RandomState; the settings envelope chains its trailer masks with it.
int32_t park_miller_step(int32_t state);

}  // namespace nd
