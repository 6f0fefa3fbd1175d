// x11_probe: looks at and pokes the program's window on an X server, for the
// display tests. It stands in for a window manager and a screenshot tool.
//
//   x11_probe atoms -            make the window-manager atoms exist
//   x11_probe wait CLASS MS      print the window id once it is mapped
//   x11_probe geometry CLASS     print "x y width height borderless"
//   x11_probe count CLASS RRGGBB print "matching total" pixels of the window
//   x11_probe close CLASS        send WM_DELETE_WINDOW, as a window manager's close
//   x11_probe unmap CLASS        unmap the window, as a minimise does
//
// Exit status 0 on success, 1 when the window is not found, 2 on bad usage.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Windows come and go while the tree is walked; a window that vanished
// between listing and asking is simply not the one looked for.
int ignore_x_errors(Display*, XErrorEvent*) {
    return 0;
}

bool has_class(Display* dpy, Window w, const char* wanted) {
    XClassHint hint{};
    if (!XGetClassHint(dpy, w, &hint)) return false;
    bool match = hint.res_class && std::strcmp(hint.res_class, wanted) == 0;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return match;
}

Window find(Display* dpy, Window root, const char* wanted, bool mapped_only) {
    Window parent_return = 0, root_return = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(dpy, root, &root_return, &parent_return, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attr{};
        if (has_class(dpy, children[i], wanted) &&
            (!mapped_only ||
             (XGetWindowAttributes(dpy, children[i], &attr) && attr.map_state == IsViewable))) {
            found = children[i];
        } else {
            found = find(dpy, children[i], wanted, mapped_only);
        }
    }
    if (children) XFree(children);
    return found;
}

void sleep_ms(long ms) {
    timespec t{ms / 1000, (ms % 1000) * 1000000};
    nanosleep(&t, nullptr);
}

// Borderless windows ask for no decorations through the Motif hints. SDL sets
// them only when a window manager has made the atom, so "atoms" makes it
// first, as the window manager of a desktop session would have.
bool borderless(Display* dpy, Window w) {
    Atom hints = XInternAtom(dpy, "_MOTIF_WM_HINTS", True);
    if (hints == None) return false;
    Atom type = 0;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, w, hints, 0, 5, False, AnyPropertyType, &type, &format, &n, &after,
                           &data) != Success ||
        !data) {
        return false;
    }
    long* v = reinterpret_cast<long*>(data);
    bool result = n >= 3 && (v[0] & 2) && v[2] == 0;  // flags has decorations; decorations 0
    XFree(data);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string cmd = argv[1];
    const char* wanted = argv[2];
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "x11_probe: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(ignore_x_errors);
    Window root = DefaultRootWindow(dpy);
    if (cmd == "atoms") {
        XInternAtom(dpy, "_MOTIF_WM_HINTS", False);
        XSync(dpy, False);
        return 0;
    }
    if (cmd == "wait") {
        long limit = argc > 3 ? std::atol(argv[3]) : 5000;
        for (long waited = 0; waited <= limit; waited += 50) {
            Window w = find(dpy, root, wanted, true);
            if (w) {
                std::printf("%lu\n", w);
                return 0;
            }
            sleep_ms(50);
        }
        return 1;
    }
    Window w = find(dpy, root, wanted, cmd != "close");
    if (!w) {
        std::fprintf(stderr, "x11_probe: no window of class %s\n", wanted);
        return 1;
    }
    if (cmd == "geometry") {
        XWindowAttributes attr{};
        XGetWindowAttributes(dpy, w, &attr);
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(dpy, w, root, 0, 0, &x, &y, &child);
        std::printf("%d %d %d %d %d\n", x, y, attr.width, attr.height, borderless(dpy, w) ? 1 : 0);
        return 0;
    }
    if (cmd == "count" && argc > 3) {
        unsigned long want = std::strtoul(argv[3], nullptr, 16);
        XWindowAttributes attr{};
        XGetWindowAttributes(dpy, w, &attr);
        XImage* image = XGetImage(dpy, w, 0, 0, attr.width, attr.height, AllPlanes, ZPixmap);
        if (!image) return 1;
        long match = 0;
        for (int y = 0; y < attr.height; ++y) {
            for (int x = 0; x < attr.width; ++x) {
                if ((XGetPixel(image, x, y) & 0xFFFFFF) == want) ++match;
            }
        }
        std::printf("%ld %ld\n", match, static_cast<long>(attr.width) * attr.height);
        XDestroyImage(image);
        return 0;
    }
    if (cmd == "close") {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = w;
        ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
        ev.xclient.data.l[1] = CurrentTime;
        XSendEvent(dpy, w, False, NoEventMask, &ev);
        XSync(dpy, False);
        return 0;
    }
    if (cmd == "unmap") {
        XUnmapWindow(dpy, w);
        XSync(dpy, False);
        return 0;
    }
    return 2;
}
