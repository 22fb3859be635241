#include "platform/linux/DesktopSession.h"

#include "platform/DockHostChoice.h"
#include "platform/DockHostIds.h"

#include <QStringList>

namespace {

QString variable(const QProcessEnvironment& environment, const char* name) {
    return environment.value(QLatin1String(name)).trimmed();
}

DesktopSession::Kind kindOf(const QProcessEnvironment& environment) {
    // The login manager's word is the session's; the displays only where it says nothing.
    const QString type = variable(environment, "XDG_SESSION_TYPE").toLower();
    if (type == QLatin1String("wayland"))
        return DesktopSession::Kind::Wayland;
    if (type == QLatin1String("x11"))
        return DesktopSession::Kind::X11;
    if (!variable(environment, "WAYLAND_DISPLAY").isEmpty())
        return DesktopSession::Kind::Wayland;
    if (!variable(environment, "DISPLAY").isEmpty())
        return DesktopSession::Kind::X11;
    return DesktopSession::Kind::None;
}

QString shellOf(const QString& currentDesktop) {
    if (DockHostChoice::isGnomeShellDesktop(currentDesktop))
        return DockHostIds::displayName(DockHostIds::gnomeShell);
    if (DockHostChoice::isPlasmaDesktop(currentDesktop))
        return DockHostIds::displayName(DockHostIds::kdePlasma);
    const QStringList names = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return names.isEmpty() ? QString() : names.first().trimmed();
}

} // namespace

DesktopSession DesktopSession::detect(const QProcessEnvironment& environment) {
    return {kindOf(environment), shellOf(variable(environment, "XDG_CURRENT_DESKTOP"))};
}

QString DesktopSession::description() const {
    switch (kind) {
    case Kind::X11:
        return shell.isEmpty() ? QStringLiteral("an X11 session") : QStringLiteral("an X11 session of ") + shell;
    case Kind::Wayland:
        return shell.isEmpty() ? QStringLiteral("a Wayland session") : QStringLiteral("a Wayland session of ") + shell;
    case Kind::None:
        break;
    }
    return QStringLiteral("no graphical session");
}

QByteArray DesktopSession::forcedPlatform(const QProcessEnvironment& environment) {
    if (detect(environment).kind != Kind::Wayland || variable(environment, "DISPLAY").isEmpty())
        return {};
    // Wayland sessions often ask every Qt program for Wayland; a choice of anything else (xcb
    // itself, offscreen for a test) is the user's own and stands.
    const QString asked = variable(environment, "QT_QPA_PLATFORM");
    if (!asked.isEmpty() && !asked.startsWith(QLatin1String("wayland")))
        return {};
    return QByteArrayLiteral("xcb");
}
