// What the program knows about the newest release: the numbers a control
// server last named and the update flag. A worker thread writes them; the
// update note, the top bar's badge and the menu read them on the main
// thread, every frame if they like.
//
// The flag is set only for a newer release of this major version (a newer
// major is not offered, and the updater would not install one either), and
// once set it stays set for the rest of the run. The numbers are written
// before the flag, so a reader that sees the flag always reads numbers that
// earned it.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "session/app.h"

namespace nd {

struct ReleaseNumbers {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t patch = 0;
    bool operator==(const ReleaseNumbers&) const = default;
};

// The program's own version (the one written to config.cfg).
ReleaseNumbers own_version();

// True when `newest` is worth offering to this program: its single number
// (major x 1,000,000 + minor x 10,000 + patch) is above the own version's,
// and its major number is the own major number.
bool release_offered(const ReleaseNumbers& newest);

class ReleaseNews {
public:
    // A release a server has named. Sets the flag when release_offered()
    // holds; a later, still newer release replaces the numbers; anything
    // else changes nothing. Any thread.
    void offer(const ReleaseNumbers& newest);
    // The update flag. Any thread.
    bool update_available() const;
    // The newest release's numbers while the flag is set, else the own
    // version: what the update note's version line shows. Any thread.
    ReleaseNumbers newest() const;

private:
    mutable std::mutex m_lock;  // guards m_newest
    ReleaseNumbers m_newest;
    std::atomic<bool> m_available{false};
};

// The program's one record of it. It is constant-initialised and has nothing
// to destroy, so the check thread may still write to it while the process
// ends.
ReleaseNews& release_news();

// The update note's button: with the flag set, asks the frame loop to quit
// and update (RunState -99) and returns true; without it does nothing and
// returns false.
bool accept_update(App& app, const ReleaseNews& news);

}  // namespace nd
