// Another program on the X server, for the display tests: it owns a
// selection with targets of its choosing (and can answer slowly, by INCR,
// or not at all), and drags files onto a window by the XDND protocol. It
// runs on its own connection and thread and shares no code with the layer,
// so a mistake in the layer's protocol handling cannot hide behind the same
// mistake here.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace gfx::testing {

struct PeerOptions {
    size_t incr_piece = 0;           // > 0: send data larger than this by INCR in such pieces
    bool silent = false;             // take requests and never answer them
    bool stall_after_start = false;  // start INCR, then never send a piece
};

class X11Peer {
public:
    X11Peer();
    ~X11Peer();

    // Owns `selection` ("CLIPBOARD" or "XdndSelection") with these targets.
    void offer(const std::string& selection,
               std::vector<std::pair<std::string, std::string>> entries, PeerOptions options = {});
    // Drags a text/uri-list onto `target` (a top-level window), the pointer
    // standing at root (x, y). finished() turns true when the target says so.
    void drag(Window target, int root_x, int root_y, const std::string& uri_list);
    bool finished() const { return m_finished.load(); }
    // Requests the peer answered with data (not counting TARGETS).
    int served() const { return m_served.load(); }
    Window window() const { return m_window; }

private:
    struct Transfer {
        Window requestor;
        Atom property;
        Atom type;
        std::string data;
        size_t offset;
    };

    void run();
    void post(std::function<void()> work);
    void handle(XEvent& event);
    void answer(const XSelectionRequestEvent& request);
    void send_xdnd(Atom type, long l1, long l2, long l3, long l4);
    Atom atom(const char* name) { return XInternAtom(m_dpy, name, False); }

    Display* m_dpy = nullptr;
    Window m_window = 0;
    int m_wake[2] = {-1, -1};
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<std::function<void()>> m_work;
    std::thread m_thread;

    // Peer thread only.
    Atom m_selection = 0;
    std::vector<std::pair<std::string, std::string>> m_entries;
    PeerOptions m_options;
    std::vector<Transfer> m_transfers;
    Window m_drag_target = 0;
    std::atomic<bool> m_finished{false};
    std::atomic<int> m_served{0};
};

}  // namespace gfx::testing
