#include "X11DockWindow.h"

#include <QGuiApplication>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <array>

namespace {

// The toolkit's own connection, which created the window: a request on another connection could
// reach the server before the window exists there.
Display* toolkitDisplay() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

Atom atom(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

} // namespace

void X11DockWindow::setDockType(quintptr window) {
    Display* display = toolkitDisplay();
    if (!display || !window)
        return;
    const Atom type = atom(display, "_NET_WM_WINDOW_TYPE_DOCK");
    XChangeProperty(display, Window(window), atom(display, "_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&type), 1);
    XFlush(display);
}

void X11DockWindow::reserveEdge(quintptr window, Edge edge, int thickness, const QRect& screen, const QRect& desktop) {
    Display* display = toolkitDisplay();
    if (!display || !window)
        return;
    // left, right, top, bottom, then start and end of each: left_y, right_y, top_x, bottom_x.
    std::array<long, 12> strut{};
    switch (edge) {
    case Edge::Left:
        strut[0] = screen.left() - desktop.left() + thickness;
        strut[4] = screen.top();
        strut[5] = screen.bottom();
        break;
    case Edge::Right:
        strut[1] = desktop.right() - screen.right() + thickness;
        strut[6] = screen.top();
        strut[7] = screen.bottom();
        break;
    case Edge::Bottom:
        strut[3] = desktop.bottom() - screen.bottom() + thickness;
        strut[10] = screen.left();
        strut[11] = screen.right();
        break;
    }
    const std::array<long, 4> plain{strut[0], strut[1], strut[2], strut[3]};
    XChangeProperty(display, Window(window), atom(display, "_NET_WM_STRUT_PARTIAL"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(strut.data()), int(strut.size()));
    // Older managers know only the plain form.
    XChangeProperty(display, Window(window), atom(display, "_NET_WM_STRUT"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(plain.data()), int(plain.size()));
    XFlush(display);
}
