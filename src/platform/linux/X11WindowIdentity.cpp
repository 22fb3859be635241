#include "platform/linux/X11WindowIdentity.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

xcb_connection_t* toolkitConnection() {
    const auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return value;
}

} // namespace

X11WindowIdentity::X11WindowIdentity(const QString& windowClass, bool keepOffTaskbars, QObject* parent)
    : QObject(parent)
    // ICCCM: the instance and the class, each ending in a NUL.
    , m_windowClass(windowClass.toUtf8() + '\0' + windowClass.toUtf8() + '\0')
    , m_keepOffTaskbars(keepOffTaskbars) {
    if (toolkitConnection())
        qApp->installEventFilter(this);
}

X11WindowIdentity::~X11WindowIdentity() {
    if (qApp)
        qApp->removeEventFilter(this);
}

bool X11WindowIdentity::eventFilter(QObject* watched, QEvent* event) {
    // A window's show event comes before the toolkit maps it, and after its native window exists.
    if (event->type() == QEvent::Show && watched->isWindowType()) {
        auto* window = static_cast<QWindow*>(watched);
        if (window->handle() && !window->parent())
            apply(quint32(window->winId()));
    }
    return QObject::eventFilter(watched, event);
}

void X11WindowIdentity::apply(quint32 window) const {
    xcb_connection_t* connection = toolkitConnection();
    if (!connection)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        uint32_t(m_windowClass.size()), m_windowClass.constData());
    if (!m_keepOffTaskbars)
        return;
    // Added to what the window's state holds already: the toolkit merges its own atoms in as it
    // maps the window.
    static const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    static const xcb_atom_t skipped[] = {atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                         atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    std::vector<xcb_atom_t> atoms;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 1024), nullptr);
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        atoms.assign(values, values + xcb_get_property_value_length(reply) / sizeof(xcb_atom_t));
    }
    std::free(reply);
    for (const xcb_atom_t wanted : skipped)
        if (wanted != XCB_ATOM_NONE && std::find(atoms.begin(), atoms.end(), wanted) == atoms.end())
            atoms.push_back(wanted);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32, uint32_t(atoms.size()),
                        atoms.data());
}
