#include "X11Windows.h"

#include "X11Display.h"
#include "X11IgnoredErrors.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <optional>

namespace {

// A property of 32-bit items (which Xlib hands over as longs); none when absent or of another type.
std::optional<QList<unsigned long>> cardinals(Display* display, Window window, const char* name, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1 << 16, False, type,
                                          &actualType, &format, &count, &after, &data);
    std::optional<QList<unsigned long>> values;
    if (status == Success && actualType == type && format == 32 && data) {
        const auto* items = reinterpret_cast<const unsigned long*>(data);
        values = QList<unsigned long>(items, items + count);
    }
    if (data)
        XFree(data);
    return values;
}

} // namespace

QList<quintptr> X11Windows::windowsOf(const QSet<qint64>& processes) {
    Display* display = X11Display::shared();
    if (!display || processes.isEmpty())
        return {};
    const X11IgnoredErrors ignored(display);
    const Window root = DefaultRootWindow(display);
    // The stacking order, so the window the user saw last ends up on top again.
    std::optional<QList<unsigned long>> clients = cardinals(display, root, "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
    if (!clients)
        clients = cardinals(display, root, "_NET_CLIENT_LIST", XA_WINDOW);
    QList<quintptr> found;
    for (const unsigned long window : clients.value_or(QList<unsigned long>())) {
        const std::optional<QList<unsigned long>> pid = cardinals(display, window, "_NET_WM_PID", XA_CARDINAL);
        if (pid && !pid->isEmpty() && processes.contains(qint64(pid->first())))
            found.append(quintptr(window));
    }
    return found;
}

bool X11Windows::activate(quintptr window) {
    Display* display = X11Display::shared();
    if (!display || !window)
        return false;
    const X11IgnoredErrors ignored(display);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = Window(window);
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // from a pager: on the user's behalf
    event.xclient.data.l[1] = CurrentTime;
    event.xclient.data.l[2] = 0;
    const Status sent = XSendEvent(display, DefaultRootWindow(display), False,
                                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
    return sent != 0;
}
