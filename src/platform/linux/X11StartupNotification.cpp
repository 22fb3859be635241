#include "platform/linux/X11StartupNotification.h"

#include "platform/linux/X11Display.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDateTime>

#include <X11/Xlib.h>

#include <cstring>

namespace {

// Messages travel in client messages of twenty bytes each: the first of type
// _NET_STARTUP_INFO_BEGIN, the rest _NET_STARTUP_INFO, from a window of the sender's.
Window newSender(Display* display) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    return XCreateWindow(display, DefaultRootWindow(display), -100, -100, 1, 1, 0, CopyFromParent, InputOnly,
                         CopyFromParent, CWOverrideRedirect, &attributes);
}

void sendFrom(Display* display, Window sender, const QByteArray& message) {
    const Atom beginType = XInternAtom(display, "_NET_STARTUP_INFO_BEGIN", False);
    const Atom moreType = XInternAtom(display, "_NET_STARTUP_INFO", False);
    constexpr int chunk = 20;
    for (qsizetype offset = 0; offset < message.size(); offset += chunk) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.display = display;
        event.xclient.window = sender;
        event.xclient.message_type = offset == 0 ? beginType : moreType;
        event.xclient.format = 8;
        std::memcpy(event.xclient.data.b, message.constData() + offset,
                    size_t(qMin<qsizetype>(chunk, message.size() - offset)));
        XSendEvent(display, DefaultRootWindow(display), False, PropertyChangeMask, &event);
    }
    XFlush(display);
}

void send(const QByteArray& message) {
    Display* display = X11Display::shared();
    if (!display)
        return;
    static const Window sender = newSender(display);
    sendFrom(display, sender, message);
}

} // namespace

QByteArray X11StartupNotification::message(const QByteArray& type, const Fields& fields) {
    QByteArray text = type + ':';
    for (const auto& [key, value] : fields) {
        QByteArray escaped = value.toUtf8();
        escaped.replace('\\', "\\\\").replace('"', "\\\"");
        text += ' ' + key + "=\"" + escaped + '"';
    }
    text += '\0';
    return text;
}

QByteArray X11StartupNotification::begin(const QString& name, const QString& binary, const QString& icon) {
    if (!X11Display::shared())
        return {};
    static QAtomicInteger<quint32> sequence;
    // Unique on this machine: who launched, which launch, when.
    const QByteArray id = QCoreApplication::applicationName().toUtf8().replace(' ', '_') + '-' +
                          QByteArray::number(QCoreApplication::applicationPid()) + '-' +
                          QByteArray::number(sequence.fetchAndAddRelaxed(1)) + '-' +
                          QByteArray::number(QDateTime::currentMSecsSinceEpoch());
    Fields fields{{"ID", QString::fromUtf8(id)},
                  {"NAME", name},
                  {"SCREEN", QString::number(DefaultScreen(X11Display::shared()))}};
    if (!binary.isEmpty())
        fields.append({"BIN", binary});
    if (!icon.isEmpty())
        fields.append({"ICON", icon});
    send(message("new", fields));
    return id;
}

void X11StartupNotification::remove(const QByteArray& id) {
    if (!id.isEmpty())
        send(message("remove", {{"ID", QString::fromUtf8(id)}}));
}

void X11StartupNotification::removeBeforeToolkit(const QByteArray& id) {
    if (id.isEmpty())
        return;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return;
    const Window sender = newSender(display);
    sendFrom(display, sender, message("remove", {{"ID", QString::fromUtf8(id)}}));
    XDestroyWindow(display, sender);
    XCloseDisplay(display);
}
