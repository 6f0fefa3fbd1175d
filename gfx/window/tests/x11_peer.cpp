#include "x11_peer.h"

#include <X11/Xatom.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>

namespace gfx::testing {

X11Peer::X11Peer() {
    m_dpy = XOpenDisplay(nullptr);
    if (!m_dpy) return;
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    m_window = XCreateWindow(m_dpy, DefaultRootWindow(m_dpy), 0, 0, 1, 1, 0, CopyFromParent,
                             InputOnly, CopyFromParent, CWEventMask, &attributes);
    XSync(m_dpy, False);
    if (pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) return;
    m_thread = std::thread([this] { run(); });
}

X11Peer::~X11Peer() {
    if (m_thread.joinable()) {
        m_stop.store(true);
        post([] {});
        m_thread.join();
    }
    if (m_wake[0] >= 0) close(m_wake[0]);
    if (m_wake[1] >= 0) close(m_wake[1]);
    if (m_dpy) XCloseDisplay(m_dpy);
}

void X11Peer::post(std::function<void()> work) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_work.push_back(std::move(work));
    }
    char byte = 1;
    ssize_t n = write(m_wake[1], &byte, 1);
    (void)n;
}

void X11Peer::offer(const std::string& selection,
                    std::vector<std::pair<std::string, std::string>> entries, PeerOptions options) {
    post([this, selection, entries = std::move(entries), options] {
        m_selection = atom(selection.c_str());
        m_entries = entries;
        m_options = options;
        m_transfers.clear();
        XSetSelectionOwner(m_dpy, m_selection, m_window, CurrentTime);
        XFlush(m_dpy);
    });
}

void X11Peer::send_xdnd(Atom type, long l1, long l2, long l3, long l4) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = m_dpy;
    event.xclient.window = m_drag_target;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(m_window);
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(m_dpy, m_drag_target, False, NoEventMask, &event);
    XFlush(m_dpy);
}

void X11Peer::drag(Window target, int root_x, int root_y, const std::string& uri_list) {
    offer("XdndSelection", {{"text/uri-list", uri_list}});
    post([this, target, root_x, root_y] {
        m_drag_target = target;
        m_finished.store(false);
        // Version 5, at most three types, listed in the message itself.
        send_xdnd(atom("XdndEnter"), 5L << 24, static_cast<long>(atom("text/uri-list")), 0, 0);
        send_xdnd(atom("XdndPosition"), 0, (static_cast<long>(root_x) << 16) | root_y, CurrentTime,
                  static_cast<long>(atom("XdndActionCopy")));
    });
}

void X11Peer::run() {
    while (!m_stop.load()) {
        std::vector<std::function<void()>> work;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            work.swap(m_work);
        }
        for (auto& w : work) w();
        while (XPending(m_dpy) > 0) {
            XEvent event;
            XNextEvent(m_dpy, &event);
            handle(event);
        }
        pollfd fds[2] = {{ConnectionNumber(m_dpy), POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        poll(fds, 2, 200);
        char buffer[64];
        while (read(m_wake[0], buffer, sizeof(buffer)) > 0) {
        }
    }
}

void X11Peer::handle(XEvent& event) {
    if (event.type == SelectionRequest) {
        answer(event.xselectionrequest);
    } else if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete) {
        auto it = std::find_if(m_transfers.begin(), m_transfers.end(), [&](const Transfer& t) {
            return t.requestor == event.xproperty.window && t.property == event.xproperty.atom;
        });
        if (it == m_transfers.end() || m_options.stall_after_start) return;
        size_t n = std::min(m_options.incr_piece, it->data.size() - it->offset);
        XChangeProperty(m_dpy, it->requestor, it->property, it->type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(it->data.data()) + it->offset,
                        static_cast<int>(n));
        it->offset += n;
        if (n == 0) m_transfers.erase(it);
        XFlush(m_dpy);
    } else if (event.type == ClientMessage && event.xclient.message_type == atom("XdndStatus")) {
        // The target accepts (bit 0): let go.
        if (event.xclient.data.l[1] & 1) send_xdnd(atom("XdndDrop"), 0, CurrentTime, 0, 0);
    } else if (event.type == ClientMessage && event.xclient.message_type == atom("XdndFinished")) {
        m_finished.store(true);
    }
}

void X11Peer::answer(const XSelectionRequestEvent& request) {
    if (m_options.silent) return;
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = None;
    if (request.target == atom("TARGETS")) {
        std::vector<long> atoms{static_cast<long>(atom("TARGETS"))};
        for (auto& e : m_entries) atoms.push_back(static_cast<long>(atom(e.first.c_str())));
        XChangeProperty(m_dpy, request.requestor, request.property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(atoms.data()),
                        static_cast<int>(atoms.size()));
        reply.xselection.property = request.property;
    }
    for (auto& e : m_entries) {
        if (atom(e.first.c_str()) != request.target) continue;
        ++m_served;
        reply.xselection.property = request.property;
        if (m_options.incr_piece > 0 && e.second.size() > m_options.incr_piece) {
            XSelectInput(m_dpy, request.requestor, PropertyChangeMask);
            long size = static_cast<long>(e.second.size());
            XChangeProperty(m_dpy, request.requestor, request.property, atom("INCR"), 32,
                            PropModeReplace, reinterpret_cast<unsigned char*>(&size), 1);
            m_transfers.push_back(
                {request.requestor, request.property, request.target, e.second, 0});
        } else {
            XChangeProperty(m_dpy, request.requestor, request.property, request.target, 8,
                            PropModeReplace,
                            reinterpret_cast<const unsigned char*>(e.second.data()),
                            static_cast<int>(e.second.size()));
        }
    }
    XSendEvent(m_dpy, request.requestor, False, NoEventMask, &reply);
    XFlush(m_dpy);
}

}  // namespace gfx::testing
