#include "platform/X11Selection.h"

#include <poll.h>

#include "platform/DebugOutput.h"

// Last: Xlib's macros (None, Bool, Status) would spoil the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// Text beyond this is cut: a clipboard read is for a line of text.
constexpr long kMaxTextBytes = 4L << 20;

// One connection and its hidden requesting window; closed with the object.
class Connection {
public:
    explicit Connection(const std::string& name) : _display(XOpenDisplay(name.empty() ? nullptr : name.c_str())) {
        if (_display) {
            _window = XCreateSimpleWindow(_display, DefaultRootWindow(_display), 0, 0, 1, 1, 0, 0, 0);
        }
    }
    ~Connection() {
        if (!_display) return;
        if (_window) XDestroyWindow(_display, _window);
        XCloseDisplay(_display);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Display* display() const { return _display; }
    Window window() const { return _window; }

private:
    Display* _display;
    Window _window = 0;
};

// Waits for the SelectionNotify of our request until `deadline`.
bool waitForNotify(Display* display, Window window, Clock::time_point deadline, XEvent* event) {
    for (;;) {
        while (XPending(display) > 0) {
            XNextEvent(display, event);
            if (event->type == SelectionNotify && event->xselection.requestor == window) return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left));
    }
}

// Reads and deletes the property the owner wrote the text to.
SelectionRead readProperty(Display* display, Window window, Atom property, std::string* text) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    // At most kMaxTextBytes of it (the length counts 32-bit units).
    if (XGetWindowProperty(display, window, property, 0, kMaxTextBytes / 4, True, AnyPropertyType, &type, &format, &count,
                           &after, &data) != Success) {
        return SelectionRead::Refused;
    }
    SelectionRead result = SelectionRead::Refused;
    if (type == XInternAtom(display, "INCR", False)) {
        outputDebugString("[VEXO] clipboard: the owner sends its text in parts, which is not read\n");
    } else if (format == 8 && data) {
        text->assign(reinterpret_cast<const char*>(data), count);
        result = SelectionRead::Text;
    }
    if (data) XFree(data);
    return result;
}

}  // namespace

unsigned long x11SelectionOwner(const std::string& display, const std::string& selection) {
    Display* connection = XOpenDisplay(display.empty() ? nullptr : display.c_str());
    if (!connection) return 0;
    const Window owner = XGetSelectionOwner(connection, XInternAtom(connection, selection.c_str(), False));
    XCloseDisplay(connection);
    return owner;
}

SelectionRead readX11Selection(const std::string& display, const std::string& selection,
                               std::chrono::milliseconds timeout, std::string* text) {
    text->clear();
    const auto deadline = Clock::now() + timeout;
    Connection connection(display);
    Display* d = connection.display();
    if (!d || !connection.window()) return SelectionRead::NoDisplay;
    const Atom selectionAtom = XInternAtom(d, selection.c_str(), False);
    if (XGetSelectionOwner(d, selectionAtom) == None) return SelectionRead::NoOwner;
    const Atom property = XInternAtom(d, "VEXO_SELECTION", False);
    for (Atom target : {XInternAtom(d, "UTF8_STRING", False), static_cast<Atom>(XA_STRING)}) {
        XConvertSelection(d, selectionAtom, target, property, connection.window(), CurrentTime);
        XFlush(d);
        XEvent event;
        if (!waitForNotify(d, connection.window(), deadline, &event)) {
            outputDebugString("[VEXO] clipboard: the owner of the selection did not answer in time; read as empty\n");
            return SelectionRead::TimedOut;
        }
        if (event.xselection.property == None) continue;   // not in this form: try the next
        return readProperty(d, connection.window(), property, text);
    }
    return SelectionRead::Refused;
}

}  // namespace platform
