// The spine's two background threads. Both are started once, detached, and
// end with the process.
#pragma once

#include "session/app.h"

namespace nd {

// Every 500 ms: counts IdleTicks up, flips the blink phase, and counts the
// animation countdown down to 0. Starting it again does nothing.
void start_pulse_thread(App& app);

// Every second: counts QuietCountdown down to 0 and, each autosave interval,
// lets the main view save moved cards under StorageLock. Starting it again
// does nothing.
void start_autosave_thread(App& app);

// One pulse and one autosave second, for the threads and for tests.
void pulse_step(App& app);
// `count` is the seconds since the last save; returns its new value.
int autosave_step(App& app, int count);

// Seconds between autosaves of moved cards.
constexpr int kAutosaveInterval = 1;

}  // namespace nd
