#include "X11TraySelection.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>

// Xlib defines names (Status, None) that Qt headers use, so it comes after them.
#include "X11IgnoredErrors.h"

#include <X11/Xlib.h>

X11TraySelection::X11TraySelection(QObject* parent)
    : QObject(parent) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    m_display = XOpenDisplay(nullptr);
    if (!m_display)
        return;
    const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(DefaultScreen(m_display));
    m_selection = XInternAtom(m_display, name.constData(), False);
    m_manager = XInternAtom(m_display, "MANAGER", False);
    // A new tray's MANAGER message goes to the root window's structure listeners.
    XSelectInput(m_display, DefaultRootWindow(m_display), StructureNotifyMask);
    m_notifier = new QSocketNotifier(ConnectionNumber(m_display), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11TraySelection::readEvents);
    followOwner();
}

X11TraySelection::~X11TraySelection() {
    delete m_notifier;
    if (m_display)
        XCloseDisplay(m_display);
}

void X11TraySelection::readEvents() {
    bool ownerMayHaveChanged = false;
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type == ClientMessage && event.xclient.message_type == m_manager &&
            Atom(event.xclient.data.l[1]) == m_selection)
            ownerMayHaveChanged = true;
        else if (event.type == DestroyNotify && event.xdestroywindow.window == m_owner)
            ownerMayHaveChanged = true;
    }
    if (ownerMayHaveChanged)
        followOwner();
}

void X11TraySelection::followOwner() {
    const unsigned long before = m_owner;
    Window owner = XGetSelectionOwner(m_display, m_selection);
    // Asked again after the watch is in place: an owner that ended in between is no owner, and one
    // that ends later is heard of.
    while (owner != None) {
        {
            const X11IgnoredErrors ignored(m_display);
            XSelectInput(m_display, owner, StructureNotifyMask);
        }
        const Window again = XGetSelectionOwner(m_display, m_selection);
        if (again == owner)
            break;
        owner = again;
    }
    m_owner = owner;
    // Replies read events into Xlib's queue that the socket will not announce again.
    if (XEventsQueued(m_display, QueuedAlready) > 0)
        QTimer::singleShot(0, this, &X11TraySelection::readEvents);
    if ((before != 0) != (m_owner != 0))
        Q_EMIT ownerChanged();
}
