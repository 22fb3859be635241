#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The X startup-notification protocol: a launcher announces an application that is starting,
// the window manager shows that it is (a busy pointer, a task entry), and the application ends
// it when its window appears, given the id in DESKTOP_STARTUP_ID.
namespace X11StartupNotification {

using Fields = QList<QPair<QByteArray, QString>>;

// One message as sent: "new: ID=\"…\" NAME=\"…\"", values quoted with '"' and '\' escaped,
// ending in a NUL.
QByteArray message(const QByteArray& type, const Fields& fields);

// Announces the start of `name` and gives the id for the application; empty when there is no X
// display to tell.
QByteArray begin(const QString& name, const QString& binary, const QString& icon);
// The launch failed: the desktop stops waiting for the application.
void remove(const QByteArray& id);
// The launch is over without a window of its own (it was handed to the running instance): the
// same message over a connection opened for it, so that it works before the toolkit is loaded.
void removeBeforeToolkit(const QByteArray& id);

} // namespace X11StartupNotification
