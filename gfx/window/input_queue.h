// The mouse and key queues that the window feeds and the input calls drain.
// Each queue is a ring of 1024 entries guarded by its own lock, held for one
// push or one pop only. Entries carry their arrival tick so that get_char can
// drop stale keys, and the button state at that moment.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "gfx/window/window.h"

namespace gfx {

constexpr size_t kQueueCapacity = 1024;

template <typename Msg>
struct QueueEntry {
    Msg msg{};
    uint64_t tick = 0;     // tick_ms() when the message arrived
    uint32_t buttons = 0;  // kMouseLeft/Right/Middle bits held at that moment
};

template <typename Msg>
class InputQueue {
public:
    using Entry = QueueEntry<Msg>;

    // A push onto a full queue drops the oldest entry, so the newest input
    // always survives a burst the program did not keep up with.
    void push(const Entry& entry) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_count == kQueueCapacity) {
            m_head = (m_head + 1) % kQueueCapacity;
            --m_count;
        }
        m_ring[(m_head + m_count) % kQueueCapacity] = entry;
        ++m_count;
    }

    bool pop(Entry* out) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_count == 0) return false;
        m_last = m_ring[m_head];
        m_head = (m_head + 1) % kQueueCapacity;
        --m_count;
        if (out) *out = m_last;
        return true;
    }

    bool peek(Entry* out) const {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_count == 0) return false;
        *out = m_ring[m_head];
        return true;
    }

    size_t size() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_count;
    }

    void clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_head = 0;
        m_count = 0;
    }

    // The entry most recently taken by pop().
    Entry last_taken() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_last;
    }

private:
    mutable std::mutex m_mutex;
    std::array<Entry, kQueueCapacity> m_ring{};
    size_t m_head = 0;
    size_t m_count = 0;
    Entry m_last{};
};

using MouseQueue = InputQueue<MouseMsg>;
using KeyQueue = InputQueue<KeyMsg>;

MouseQueue& mouse_queue();
KeyQueue& key_queue();

// Where the window's events enter the layer. Besides queueing, a mouse move
// or wheel updates mouse_position() and a key down/up updates the key_down()
// table. `scancode` is the platform key that set a table entry (0 unknown),
// used to ask the platform whether it is still held.
void push_mouse_message(const MouseMsg& msg, uint64_t tick, uint32_t buttons);
void push_key_message(const KeyMsg& msg, uint64_t tick, int scancode = 0);

// Empties both queues and the key table (tests, and a window being reopened).
void reset_input();

}  // namespace gfx
