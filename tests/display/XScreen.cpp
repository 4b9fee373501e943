#include "XScreen.h"

#include <cstdlib>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace xscreen {

std::string windowName(Display* display, Window window) {
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data) {
        name.assign(reinterpret_cast<char*>(data), count);
    }
    if (data) XFree(data);
    return name;
}

namespace {

Window topLevel(Display* display, const std::string& title, bool viewableOnly) {
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        if ((!viewableOnly || isViewable(display, children[i])) && windowName(display, children[i]) == title)
            found = children[i];
    }
    if (children) XFree(children);
    return found;
}

}  // namespace

Window findWindow(Display* display, const std::string& title) { return topLevel(display, title, true); }

Window findAnyWindow(Display* display, const std::string& title) { return topLevel(display, title, false); }

bool isViewable(Display* display, Window window) {
    XWindowAttributes attrs;
    return XGetWindowAttributes(display, window, &attrs) && attrs.map_state == IsViewable;
}

Rgb Area::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {-1, -1, -1};
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
}

Area grabWindow(Display* display, Window window) {
    Area area;
    XWindowAttributes attrs;
    if (!XGetWindowAttributes(display, window, &attrs)) return area;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &area.left, &area.top, &child);
    XImage* image = XGetImage(display, DefaultRootWindow(display), area.left, area.top,
                              static_cast<unsigned>(attrs.width), static_cast<unsigned>(attrs.height), AllPlanes,
                              ZPixmap);
    if (!image) return area;
    area.width = attrs.width;
    area.height = attrs.height;
    area.pixels.reserve(static_cast<size_t>(area.width) * static_cast<size_t>(area.height));
    for (int y = 0; y < attrs.height; ++y) {
        for (int x = 0; x < attrs.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            area.pixels.push_back({static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                                   static_cast<int>(p & 0xFF)});
        }
    }
    XDestroyImage(image);
    return area;
}

bool near(const Rgb& a, const Rgb& b, int tolerance) {
    for (int i = 0; i < 3; ++i) {
        if (std::abs(a[i] - b[i]) > tolerance) return false;
    }
    return true;
}

std::string show(const Rgb& c) {
    return "(" + std::to_string(c[0]) + ", " + std::to_string(c[1]) + ", " + std::to_string(c[2]) + ")";
}

void requestClose(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

bool xdotool(const std::string& arguments) { return std::system(("xdotool " + arguments).c_str()) == 0; }

bool click(int x, int y) { return xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1"); }

}  // namespace xscreen
