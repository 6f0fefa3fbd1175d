#include "gfx/window/x11_selection.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xfixes.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "gfx/window/window.h"

namespace gfx::clip {

namespace {

// Answers land in one of a few properties in turn, so that a late answer to
// a request that timed out cannot land where the next request looks.
constexpr unsigned kReplyProperties = 8;

void drain(int fd) {
    uint64_t count = 0;
    while (::read(fd, &count, sizeof(count)) > 0) {
    }
}

}  // namespace

X11Selection::X11Selection(Display* display, int wake_fd, const std::atomic<bool>* stop)
    : m_dpy(display), m_wake_fd(wake_fd), m_stop(stop) {
    m_clipboard = atom("CLIPBOARD");
    m_targets = atom("TARGETS");
    m_timestamp = atom("TIMESTAMP");
    m_incr = atom("INCR");
    m_stamp = atom("ND_CLIPBOARD_TIME");
    // An unmapped input-only window: the address of requests and answers.
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    m_window = XCreateWindow(m_dpy, DefaultRootWindow(m_dpy), -10, -10, 1, 1, 0, CopyFromParent,
                             InputOnly, CopyFromParent, CWEventMask, &attributes);
    int event_base = 0;
    int error_base = 0;
    int major = 0;
    int minor = 0;
    if (XFixesQueryExtension(m_dpy, &event_base, &error_base) &&
        XFixesQueryVersion(m_dpy, &major, &minor) && major >= 1) {
        XFixesSelectSelectionInput(m_dpy, m_window, m_clipboard,
                                   XFixesSetSelectionOwnerNotifyMask |
                                       XFixesSelectionWindowDestroyNotifyMask |
                                       XFixesSelectionClientCloseNotifyMask);
        m_xfixes_event = event_base + XFixesSelectionNotify;
    }
    XFlush(m_dpy);
}

X11Selection::~X11Selection() {
    XDestroyWindow(m_dpy, m_window);
    XCloseDisplay(m_dpy);
}

Atom X11Selection::atom(const std::string& name) {
    auto it = m_atoms.find(name);
    if (it != m_atoms.end()) return it->second;
    Atom a = XInternAtom(m_dpy, name.c_str(), False);
    m_atoms.emplace(name, a);
    return a;
}

Atom X11Selection::next_reply_property() {
    return atom("ND_CLIPBOARD_" + std::to_string(m_reply_serial++ % kReplyProperties));
}

template <typename Match>
bool X11Selection::wait_for(Match match, uint64_t deadline, XEvent* out) {
    for (;;) {
        while (XPending(m_dpy) > 0) {
            XNextEvent(m_dpy, out);
            if (match(*out)) return true;
            handle_event(*out);
        }
        uint64_t now = tick_ms();
        if (now >= deadline || m_stop->load()) return false;
        pollfd fds[2] = {{ConnectionNumber(m_dpy), POLLIN, 0}, {m_wake_fd, POLLIN, 0}};
        ::poll(fds, 2, static_cast<int>(std::min<uint64_t>(deadline - now, 1000)));
        // New work waits until this request is done; the thread looks at its
        // queue before it sleeps again.
        if (fds[1].revents & POLLIN) drain(m_wake_fd);
    }
}

void X11Selection::dispatch_pending() {
    while (XPending(m_dpy) > 0) {
        XEvent event;
        XNextEvent(m_dpy, &event);
        handle_event(event);
    }
}

void X11Selection::wait_idle(uint64_t max_ms) {
    if (XPending(m_dpy) > 0) return;
    pollfd fds[2] = {{ConnectionNumber(m_dpy), POLLIN, 0}, {m_wake_fd, POLLIN, 0}};
    ::poll(fds, 2, static_cast<int>(max_ms));
    if (fds[1].revents & POLLIN) drain(m_wake_fd);
}

void X11Selection::handle_event(XEvent& event) {
    switch (event.type) {
        case SelectionRequest:
            serve(event.xselectionrequest);
            break;
        case SelectionClear:
            // A clear that was queued before this program took the clipboard
            // again must not drop the new content.
            if (event.xselectionclear.selection == m_clipboard &&
                XGetSelectionOwner(m_dpy, m_clipboard) != m_window) {
                m_owned.reset();
                m_owned_targets.clear();
            }
            break;
        case PropertyNotify:
            if (event.xproperty.state == PropertyDelete && event.xproperty.window != m_window) {
                continue_outgoing(event.xproperty);
            }
            break;
        default:
            if (m_xfixes_event != 0 && event.type == m_xfixes_event) m_offer_changed = true;
            break;
    }
}

// ---- Owner side -------------------------------------------------------------

bool X11Selection::own(OwnedOffer offer) {
    if (offer.empty()) return false;
    Time time = server_time();
    XSetSelectionOwner(m_dpy, m_clipboard, m_window, time);
    if (XGetSelectionOwner(m_dpy, m_clipboard) != m_window) {
        m_owned.reset();
        m_owned_targets.clear();
        return false;
    }
    auto owned = std::make_shared<const OwnedOffer>(std::move(offer));
    m_owned_targets.clear();
    for (const auto& entry : owned->entries) {
        m_owned_targets.push_back({atom(entry.first), &entry.second});
    }
    m_owned = std::move(owned);
    m_owned_since = time;
    return true;
}

Time X11Selection::server_time() {
    // Taking the clipboard wants the server's time, not CurrentTime; an
    // empty append to a property of our own makes the server report it.
    unsigned char nothing = 0;
    XChangeProperty(m_dpy, m_window, m_stamp, XA_INTEGER, 8, PropModeAppend, &nothing, 0);
    XFlush(m_dpy);
    XEvent event;
    auto stamped = [this](const XEvent& e) {
        return e.type == PropertyNotify && e.xproperty.window == m_window &&
               e.xproperty.atom == m_stamp;
    };
    if (wait_for(stamped, tick_ms() + kReplyTimeoutMs, &event)) return event.xproperty.time;
    return CurrentTime;
}

void X11Selection::serve(const XSelectionRequestEvent& request) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = m_dpy;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = None;
    // Requestors older than the conventions name no property; the target
    // then names it.
    Atom property = request.property != None ? request.property : request.target;
    if (request.selection == m_clipboard && m_owned &&
        answer(request.requestor, request.target, property)) {
        reply.xselection.property = property;
    }
    XSendEvent(m_dpy, request.requestor, False, NoEventMask, &reply);
    XFlush(m_dpy);
}

bool X11Selection::answer(Window requestor, Atom target, Atom property) {
    // Xlib takes 32-bit property items as longs.
    if (target == m_targets) {
        std::vector<long> atoms{static_cast<long>(m_targets), static_cast<long>(m_timestamp)};
        for (const OwnedTarget& owned : m_owned_targets) atoms.push_back(owned.atom);
        XChangeProperty(m_dpy, requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(atoms.data()),
                        static_cast<int>(atoms.size()));
        return true;
    }
    if (target == m_timestamp) {
        long time = static_cast<long>(m_owned_since);
        XChangeProperty(m_dpy, requestor, property, XA_INTEGER, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&time), 1);
        return true;
    }
    for (const OwnedTarget& owned : m_owned_targets) {
        if (owned.atom != target) continue;
        if (owned.data->size() > kIncrPieceBytes) {
            start_outgoing(requestor, property, target, owned.data);
        } else {
            XChangeProperty(m_dpy, requestor, property, target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(owned.data->data()),
                            static_cast<int>(owned.data->size()));
        }
        return true;
    }
    return false;
}

void X11Selection::start_outgoing(Window requestor, Atom property, Atom type,
                                  const std::string* data) {
    // A new request into the same property replaces an unfinished one.
    std::erase_if(m_outgoing, [&](const Outgoing& t) {
        return t.requestor == requestor && t.property == property;
    });
    // The requestor deletes the property each time it has taken a piece.
    XSelectInput(m_dpy, requestor, PropertyChangeMask);
    long size = static_cast<long>(data->size());
    XChangeProperty(m_dpy, requestor, property, m_incr, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&size), 1);
    m_outgoing.push_back(
        {requestor, property, type, m_owned, data, 0, tick_ms() + kOutgoingIdleMs});
}

void X11Selection::continue_outgoing(const XPropertyEvent& event) {
    for (size_t i = 0; i < m_outgoing.size(); ++i) {
        Outgoing& t = m_outgoing[i];
        if (t.requestor != event.window || t.property != event.atom) continue;
        size_t piece = std::min(kIncrPieceBytes, t.data->size() - t.offset);
        XChangeProperty(m_dpy, t.requestor, t.property, t.type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(t.data->data()) + t.offset,
                        static_cast<int>(piece));
        t.offset += piece;
        t.deadline = tick_ms() + kOutgoingIdleMs;
        // The empty piece ends the transfer.
        if (piece == 0) {
            Window requestor = t.requestor;
            m_outgoing.erase(m_outgoing.begin() + static_cast<std::ptrdiff_t>(i));
            forget_requestor_if_done(requestor);
        }
        XFlush(m_dpy);
        return;
    }
}

void X11Selection::forget_requestor_if_done(Window requestor) {
    for (const Outgoing& t : m_outgoing) {
        if (t.requestor == requestor) return;
    }
    XSelectInput(m_dpy, requestor, NoEventMask);
}

void X11Selection::expire_transfers() {
    uint64_t now = tick_ms();
    for (size_t i = m_outgoing.size(); i-- > 0;) {
        if (m_outgoing[i].deadline > now) continue;
        Window requestor = m_outgoing[i].requestor;
        m_outgoing.erase(m_outgoing.begin() + static_cast<std::ptrdiff_t>(i));
        forget_requestor_if_done(requestor);
    }
    XFlush(m_dpy);
}

// ---- Requestor side -----------------------------------------------------------

bool X11Selection::take_property(Atom property, Atom* type, int* format, std::string* bytes) {
    unsigned char* data = nullptr;
    unsigned long items = 0;
    unsigned long after = 0;
    *format = 0;
    bytes->clear();
    // Asks for the largest transfer allowed; the server sends what there is
    // and says how much was left, which then refuses the whole.
    if (XGetWindowProperty(m_dpy, m_window, property, 0, kMaxTransferBytes / 4, True,
                           AnyPropertyType, type, format, &items, &after, &data) != Success) {
        return false;
    }
    bool ok = after == 0 && *type != None;
    if (ok && data) {
        if (*format == 32) {
            // Xlib hands 32-bit items over as longs; keep them as 4-byte words.
            const long* words = reinterpret_cast<const long*>(data);
            for (unsigned long i = 0; i < items; ++i) {
                uint32_t word = static_cast<uint32_t>(words[i]);
                bytes->append(reinterpret_cast<const char*>(&word), sizeof(word));
            }
        } else {
            bytes->assign(reinterpret_cast<const char*>(data), items * (*format / 8));
        }
    }
    if (data) XFree(data);
    if (after != 0) XDeleteProperty(m_dpy, m_window, property);
    return ok;
}

bool X11Selection::fetch(Atom target, std::string* bytes, int* format, uint64_t deadline) {
    Atom property = next_reply_property();
    XDeleteProperty(m_dpy, m_window, property);
    XConvertSelection(m_dpy, m_clipboard, target, property, m_window, CurrentTime);
    XFlush(m_dpy);
    XEvent event;
    auto answered = [&](const XEvent& e) {
        return e.type == SelectionNotify && e.xselection.requestor == m_window &&
               e.xselection.selection == m_clipboard && e.xselection.target == target &&
               (e.xselection.property == property || e.xselection.property == None);
    };
    if (!wait_for(answered, std::min(deadline, tick_ms() + kReplyTimeoutMs), &event)) {
        return false;
    }
    if (event.xselection.property == None) return false;
    Atom type = None;
    if (!take_property(property, &type, format, bytes)) return false;
    if (type != m_incr) return true;

    // INCR: taking the property above asked for the first piece; the owner
    // sends one after each deletion and ends with an empty one.
    auto piece_arrived = [&](const XEvent& e) {
        return e.type == PropertyNotify && e.xproperty.window == m_window &&
               e.xproperty.atom == property && e.xproperty.state == PropertyNewValue;
    };
    bytes->clear();
    std::string piece;
    for (;;) {
        if (!wait_for(piece_arrived, std::min(deadline, tick_ms() + kReplyTimeoutMs), &event)) {
            return false;
        }
        if (!take_property(property, &type, format, &piece)) return false;
        if (piece.empty()) return true;
        if (bytes->size() + piece.size() > kMaxTransferBytes) return false;
        bytes->append(piece);
    }
}

bool X11Selection::owner_targets(std::vector<std::string>* names, uint64_t deadline) {
    std::string bytes;
    int format = 0;
    names->clear();
    if (!fetch(m_targets, &bytes, &format, deadline) || format != 32) return false;
    std::vector<Atom> atoms;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        uint32_t word = 0;
        std::memcpy(&word, bytes.data() + i, 4);
        if (word != 0) atoms.push_back(word);
    }
    if (atoms.empty()) return true;
    // One round trip for all names; an atom the server does not know comes
    // back without a name and is left out.
    std::vector<char*> raw(atoms.size(), nullptr);
    XGetAtomNames(m_dpy, atoms.data(), static_cast<int>(atoms.size()), raw.data());
    for (char* name : raw) {
        if (!name) continue;
        names->push_back(name);
        XFree(name);
    }
    return true;
}

ClipboardContent X11Selection::read(ClipAccept accept) {
    Window owner = XGetSelectionOwner(m_dpy, m_clipboard);
    if (owner == None) return {};
    if (owner == m_window && m_owned) {
        std::shared_ptr<const OwnedOffer> owned = m_owned;
        return read_offer(offer_of(*owned), accept);
    }
    uint64_t deadline = tick_ms() + kReadBudgetMs;
    Offer offer;
    if (!owner_targets(&offer.targets, deadline)) return {};
    offer.fetch = [this, deadline](const std::string& name, std::string* bytes) {
        int format = 0;
        return fetch(atom(name), bytes, &format, deadline) && format == 8;
    };
    return read_offer(offer, accept);
}

int X11Selection::classify_offer() {
    Window owner = XGetSelectionOwner(m_dpy, m_clipboard);
    if (owner == None) return kClipNothing;
    if (owner == m_window && m_owned) return classify_targets(m_owned->targets());
    std::vector<std::string> names;
    if (!owner_targets(&names, tick_ms() + kReplyTimeoutMs)) return kClipNothing;
    return classify_targets(names);
}

bool X11Selection::take_offer_changed() {
    bool changed = m_offer_changed;
    m_offer_changed = false;
    return changed;
}

}  // namespace gfx::clip
