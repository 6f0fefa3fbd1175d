#include "app/tests/e2e/x11_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <time.h>

#include <cstring>

namespace nd::e2e {

namespace {

// Windows come and go while the tree is walked; one that vanished between
// listing and asking is simply not the one looked for.
int ignore_x_errors(Display*, XErrorEvent*) {
    return 0;
}

bool has_class(Display* dpy, Window w) {
    XClassHint hint{};
    if (!XGetClassHint(dpy, w, &hint)) return false;
    bool match = hint.res_class && std::strcmp(hint.res_class, kWindowClass) == 0;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return match;
}

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
    bool result = n >= 3 && (v[0] & 2) && v[2] == 0;  // decorations given, and none
    XFree(data);
    return result;
}

bool describe(Display* dpy, Window w, WindowInfo* info) {
    XWindowAttributes attr{};
    if (!XGetWindowAttributes(dpy, w, &attr) || attr.map_state != IsViewable) return false;
    Window child = 0;
    info->id = w;
    XTranslateCoordinates(dpy, w, DefaultRootWindow(dpy), 0, 0, &info->x, &info->y, &child);
    info->width = attr.width;
    info->height = attr.height;
    info->borderless = borderless(dpy, w);
    return true;
}

bool find(Display* dpy, Window parent, int width, int height, WindowInfo* info) {
    Window root = 0, up = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(dpy, parent, &root, &up, &children, &count)) return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i) {
        if (has_class(dpy, children[i]) && describe(dpy, children[i], info) &&
            (width == 0 || (info->width == width && info->height == height))) {
            found = true;
        } else {
            found = find(dpy, children[i], width, height, info);
        }
    }
    if (children) XFree(children);
    return found;
}

void nap(long ms) {
    timespec t{ms / 1000, (ms % 1000) * 1000000};
    nanosleep(&t, nullptr);
}

}  // namespace

XServer::XServer(const char* display) {
    m_dpy = XOpenDisplay(display);
    XSetErrorHandler(ignore_x_errors);
}

XServer::~XServer() {
    if (m_dpy) XCloseDisplay(m_dpy);
}

void XServer::make_window_manager_atoms() {
    XInternAtom(m_dpy, "_MOTIF_WM_HINTS", False);
    XSync(m_dpy, False);
}

WindowInfo XServer::wait_window(int timeout_ms, int width, int height) {
    WindowInfo info;
    for (int waited = 0; waited <= timeout_ms; waited += 50) {
        if (find(m_dpy, DefaultRootWindow(m_dpy), width, height, &info)) return info;
        nap(50);
    }
    return WindowInfo{};
}

long XServer::count_pixels(Window w, uint32_t rgb) {
    XWindowAttributes attr{};
    if (!XGetWindowAttributes(m_dpy, w, &attr)) return -1;
    XImage* image = XGetImage(m_dpy, w, 0, 0, attr.width, attr.height, AllPlanes, ZPixmap);
    if (!image) return -1;
    long match = 0;
    for (int y = 0; y < attr.height; ++y) {
        for (int x = 0; x < attr.width; ++x) {
            if ((XGetPixel(image, x, y) & 0xFFFFFF) == rgb) ++match;
        }
    }
    XDestroyImage(image);
    return match;
}

long XServer::pixel(Window w, int x, int y) {
    XImage* image = XGetImage(m_dpy, w, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return -1;
    const long rgb = static_cast<long>(XGetPixel(image, 0, 0) & 0xFFFFFF);
    XDestroyImage(image);
    return rgb;
}

void XServer::request_close(Window w) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(m_dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(m_dpy, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_dpy, w, False, NoEventMask, &ev);
    XSync(m_dpy, False);
}

void XServer::unmap(Window w) {
    XUnmapWindow(m_dpy, w);
    XSync(m_dpy, False);
}

bool XServer::icon(Window w, int* width, int* height, std::vector<uint32_t>* pixels) {
    const Atom name = XInternAtom(m_dpy, "_NET_WM_ICON", True);
    if (name == None) return false;
    Atom type = 0;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    // Width, height, then width x height pixels, each in a long.
    if (XGetWindowProperty(m_dpy, w, name, 0, 1 << 20, False, XA_CARDINAL, &type, &format, &n,
                           &after, &data) != Success ||
        !data) {
        return false;
    }
    const long* v = reinterpret_cast<const long*>(data);
    bool ok = n >= 2 && v[0] > 0 && v[1] > 0 &&
              n >= 2 + static_cast<unsigned long>(v[0]) * static_cast<unsigned long>(v[1]);
    if (ok) {
        *width = static_cast<int>(v[0]);
        *height = static_cast<int>(v[1]);
        pixels->assign(v + 2, v + 2 + v[0] * v[1]);
    }
    XFree(data);
    return ok;
}

}  // namespace nd::e2e
