#include "XdgAutostartLoginItem.h"

#include "platform/FileSystem.h"
#include "platform/linux/DesktopEntryText.h"

#include <QDir>
#include <QFile>

using DesktopEntryText::execLine;
using DesktopEntryText::stringValue;

XdgAutostartLoginItem::XdgAutostartLoginItem(QString autostartDirectory, QString bundleIdentifier,
                                             QString applicationName, QString executablePath)
    : m_directory(std::move(autostartDirectory))
    , m_bundleIdentifier(std::move(bundleIdentifier))
    , m_applicationName(std::move(applicationName))
    , m_executablePath(std::move(executablePath)) {}

QString XdgAutostartLoginItem::standardAutostartDirectory() {
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString base = !configHome.isEmpty() && QDir::isAbsolutePath(configHome)
                             ? configHome
                             : QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/autostart");
}

QString XdgAutostartLoginItem::entryPath() const {
    return QDir(m_directory).filePath(m_bundleIdentifier + QStringLiteral(".desktop"));
}

QString XdgAutostartLoginItem::entryText() const {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(stringValue(m_applicationName), execLine(m_executablePath));
}

bool XdgAutostartLoginItem::isRegistered() const {
    if (m_executablePath.isEmpty() || m_bundleIdentifier.isEmpty())
        return false;
    const std::optional<QByteArray> bytes = FileSystem::readFile(entryPath(), FileSystem::kDocumentLimit).bytes;
    if (!bytes)
        return false;
    const QString exec = QStringLiteral("Exec=") + execLine(m_executablePath);
    bool inMainGroup = false;
    bool startsUs = false;
    for (QString line : QString::fromUtf8(*bytes).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("Exec"))
            startsUs = QStringLiteral("Exec=") + value == exec;
        else if ((key == QLatin1String("Hidden") && value == QLatin1String("true")) ||
                 (key == QLatin1String("X-GNOME-Autostart-enabled") && value == QLatin1String("false")))
            return false;
    }
    return startsUs;
}

std::optional<LoginItemFailure> XdgAutostartLoginItem::registerMainApp() {
    using Reason = LoginItemFailure::Reason;
    const auto failure = [](Reason reason, QString description) {
        return LoginItemFailure{LoginItemFailure::Action::Register, reason, std::move(description)};
    };
    if (m_executablePath.isEmpty() || m_bundleIdentifier.isEmpty())
        return failure(Reason::NotInBundle, QStringLiteral("the application is not running from a bundle"));
    if (!QDir().mkpath(m_directory))
        return failure(Reason::CannotCreateFolder, QStringLiteral("cannot create %1").arg(m_directory));
    QString reason;
    if (!FileSystem::writeFileAtomically(entryPath(), entryText().toUtf8(), &reason))
        return failure(Reason::CannotWrite, QStringLiteral("cannot write %1: %2").arg(entryPath(), reason));
    return std::nullopt;
}

std::optional<LoginItemFailure> XdgAutostartLoginItem::unregisterMainApp() {
    QFile file(entryPath());
    if (!file.exists() || file.remove())
        return std::nullopt;
    return LoginItemFailure{LoginItemFailure::Action::Unregister, LoginItemFailure::Reason::CannotRemove,
                            QStringLiteral("cannot remove %1: %2").arg(entryPath(), file.errorString())};
}
