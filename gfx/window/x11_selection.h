// The CLIPBOARD selection on one X connection, used by one thread only: the
// requestor side (asking the owner for targets and their bytes, with time
// limits, INCR included) and the owner side (serving what this program put on
// the clipboard, INCR included). Internal to the window layer.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "gfx/window/clipboard_offer.h"

namespace gfx::clip {

// An owner gets this long to answer a request, and to send each further
// piece of an INCR transfer; a read as a whole ends after kReadBudgetMs.
constexpr uint64_t kReplyTimeoutMs = 3000;
constexpr uint64_t kReadBudgetMs = 8000;
// Larger transfers are refused rather than held in memory.
constexpr size_t kMaxTransferBytes = size_t{64} << 20;
// What this program sends in one piece; larger data goes by INCR. It stays
// below the 262,140 bytes every server takes in one request.
constexpr size_t kIncrPieceBytes = size_t{128} << 10;
// An INCR transfer whose requestor stops taking pieces is dropped after this.
constexpr uint64_t kOutgoingIdleMs = 5000;

class X11Selection {
public:
    // Takes the connection; `wake_fd` becomes readable when the owning thread
    // has new work, `stop` when it must end.
    X11Selection(Display* display, int wake_fd, const std::atomic<bool>* stop);
    ~X11Selection();
    X11Selection(const X11Selection&) = delete;
    X11Selection& operator=(const X11Selection&) = delete;

    // Handles every event that has arrived.
    void dispatch_pending();
    // Sleeps until an event or work arrives, at most `max_ms`.
    void wait_idle(uint64_t max_ms);
    // Drops outgoing transfers whose requestor went quiet.
    void expire_transfers();
    bool transfers_running() const { return !m_outgoing.empty(); }

    // Reads the clipboard by the preference rules; kClipNothing when no one
    // owns it or the owner does not answer in time.
    ClipboardContent read(ClipAccept accept);
    // What the owner offers, for clipboard_query().
    int classify_offer();
    // True once after the owner changed (the XFIXES extension reports that;
    // without it the caller asks again when it needs to know).
    bool take_offer_changed();
    bool watches_owner() const { return m_xfixes_event != 0; }

    // Owns the clipboard with `offer`. False when the server did not give it.
    bool own(OwnedOffer offer);

private:
    struct Outgoing {
        Window requestor;
        Atom property;
        Atom type;
        std::shared_ptr<const OwnedOffer> owner;  // keeps `data` alive
        const std::string* data;
        size_t offset;
        uint64_t deadline;
    };
    struct OwnedTarget {
        Atom atom;
        const std::string* data;
    };

    Atom atom(const std::string& name);
    // Waits for an event that `match` accepts and stores it in `*out`,
    // handling all others as usual meanwhile. False at the deadline or stop.
    template <typename Match>
    bool wait_for(Match match, uint64_t deadline, XEvent* out);
    void handle_event(XEvent& event);
    void serve(const XSelectionRequestEvent& request);
    bool answer(Window requestor, Atom target, Atom property);
    void start_outgoing(Window requestor, Atom property, Atom type, const std::string* data);
    void continue_outgoing(const XPropertyEvent& event);
    void forget_requestor_if_done(Window requestor);
    // The owner's bytes of `target` (format 32 items as 4-byte words).
    bool fetch(Atom target, std::string* bytes, int* format, uint64_t deadline);
    bool take_property(Atom property, Atom* type, int* format, std::string* bytes);
    bool owner_targets(std::vector<std::string>* names, uint64_t deadline);
    Time server_time();
    Atom next_reply_property();

    Display* m_dpy;
    int m_wake_fd;
    const std::atomic<bool>* m_stop;
    Window m_window = 0;
    int m_xfixes_event = 0;
    bool m_offer_changed = true;
    std::unordered_map<std::string, Atom> m_atoms;
    Atom m_clipboard, m_targets, m_timestamp, m_incr, m_stamp;
    unsigned m_reply_serial = 0;

    std::shared_ptr<const OwnedOffer> m_owned;  // null while another owns it
    std::vector<OwnedTarget> m_owned_targets;
    Time m_owned_since = CurrentTime;
    std::vector<Outgoing> m_outgoing;
};

}  // namespace gfx::clip
