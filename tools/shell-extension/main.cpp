// Installs Trellin's GNOME Shell extension for the user, as the General page's button does, for
// `make run` and for test desktops: trellin-shell-extension state|install <Trellin.app>.
#include "platform/linux/GioDesktopSettings.h"
#include "platform/linux/GnomeShellExtension.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QTextStream>

namespace {

const char* stateName(DockExtension::State state) {
    switch (state) {
    case DockExtension::State::NotInstalled:
        return "not-installed";
    case DockExtension::State::Outdated:
        return "outdated";
    case DockExtension::State::Installed:
        return "installed";
    case DockExtension::State::Refused:
        return "refused";
    case DockExtension::State::Active:
        return "active";
    }
    return "";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (arguments.size() != 3 || (arguments[1] != u"state" && arguments[1] != u"install")) {
        err << "usage: trellin-shell-extension state|install <Trellin.app>\n"
               "  state    prints not-installed, outdated, installed (from the next login), refused (the\n"
               "           shell did not run it) or active\n"
               "  install  installs it into $XDG_DATA_HOME/gnome-shell/extensions and switches it on\n";
        return 2;
    }
    GnomeShellExtension extension(GnomeShellExtension::bundledFolder(arguments[2]),
                                  GnomeShellExtension::userExtensionsFolder(), std::make_unique<GioDesktopSettings>(),
                                  QDBusConnection::sessionBus());
    if (arguments[1] == u"install") {
        if (const std::optional<QString> why = extension.install()) {
            err << "trellin-shell-extension: " << *why << '\n';
            return 1;
        }
    }
    out << stateName(extension.state()) << '\n';
    return 0;
}
