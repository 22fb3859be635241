#include "platform/linux/GnomeShellExtension.h"

#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/linux/GnomeShellNames.h"
#include "platform/linux/LinuxPaths.h"
#include "platform/linux/ModuleDesktopEntries.h"
#include "platform/linux/ModuleDesktopSettings.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

namespace {

constexpr qint64 kMetadataLimit = 64 * 1024;
const QString kMetadata = QStringLiteral("metadata.json");
// Asked when the General page shows: a busy shell must not hold the page up.
constexpr int kShellTimeout = 500;

// The metadata's uuid and version; none when it cannot be read or is not an extension's.
struct Metadata {
    QString uuid;
    int version = 0;
};

std::optional<Metadata> metadataIn(const QString& folder) {
    const FileSystem::ReadResult read =
        FileSystem::readFile(folder + u'/' + kMetadata, kMetadataLimit, FileSystem::Links::Refuse);
    if (!read.bytes)
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(*read.bytes).object();
    const QJsonValue version = object.value(QStringLiteral("version"));
    if (!object.value(QStringLiteral("uuid")).isString() || !version.isDouble())
        return std::nullopt;
    return Metadata{object.value(QStringLiteral("uuid")).toString(), version.toInt()};
}

} // namespace

GnomeShellExtension::GnomeShellExtension(QString bundled, QString extensions, std::unique_ptr<DesktopSettings> settings,
                                         QDBusConnection bus)
    : m_bundled(std::move(bundled))
    , m_extensions(std::move(extensions))
    , m_settings(std::move(settings))
    , m_shell(m_settings ? m_settings->open(GnomeShellNames::shellSchema) : nullptr)
    , m_bus(std::move(bus)) {}

std::unique_ptr<GnomeShellExtension> GnomeShellExtension::forBundle(const QString& bundlePath) {
    return std::make_unique<GnomeShellExtension>(
        bundledFolder(bundlePath), userExtensionsFolder(),
        std::make_unique<ModuleDesktopSettings>(ModuleDesktopEntries::modulePathIn(bundlePath)),
        QDBusConnection::sessionBus());
}

QString GnomeShellExtension::bundledFolder(const QString& bundlePath) {
    return Bundle(bundlePath).resourcesPath() + u'/' + GnomeShellNames::tilesExtensionFolder + u'/' +
           GnomeShellNames::tilesExtension;
}

QString GnomeShellExtension::userExtensionsFolder() {
    return LinuxPaths::applicationSupportDirectory() + QStringLiteral("/gnome-shell/extensions");
}

QString GnomeShellExtension::installedFolder() const {
    return m_extensions + u'/' + GnomeShellNames::tilesExtension;
}

bool GnomeShellExtension::filesCurrent() const {
    // A link where the extension belongs is nothing Trellin put there: it is replaced, not read.
    if (!FileSystem::isRealFolder(installedFolder()))
        return false;
    const std::optional<Metadata> installed = metadataIn(installedFolder());
    const std::optional<Metadata> bundled = metadataIn(m_bundled);
    // A newer Trellin's copy stays: this one does not take it back.
    return installed && installed->uuid == GnomeShellNames::tilesExtension &&
           (!bundled || installed->version >= bundled->version);
}

bool GnomeShellExtension::switchedOn() const {
    if (!m_shell || userExtensionsOff())
        return false;
    const QStringList enabled =
        m_shell->value(GnomeShellNames::enabledExtensionsKey).value_or(QVariant()).toStringList();
    const QStringList disabled =
        m_shell->value(GnomeShellNames::disabledExtensionsKey).value_or(QVariant()).toStringList();
    return enabled.contains(GnomeShellNames::tilesExtension) && !disabled.contains(GnomeShellNames::tilesExtension);
}

DockExtension::State GnomeShellExtension::state() const {
    if (!FileSystem::isRealFolder(installedFolder()) || !metadataIn(installedFolder()))
        return State::NotInstalled;
    if (!filesCurrent())
        return State::Outdated;
    if (!switchedOn())
        return State::NotInstalled;
    const QDBusMessage tiles =
        m_bus.call(QDBusMessage::createMethodCall(GnomeShellNames::service, GnomeShellNames::tilesPath,
                                                  GnomeShellNames::tilesInterface, GnomeShellNames::getDockMethod),
                   QDBus::Block, kShellTimeout);
    if (tiles.type() == QDBusMessage::ReplyMessage)
        return State::Active;
    // A shell that saw it at its start and did not run it says why; one that has not seen it yet
    // will load it at the next login.
    QDBusMessage request =
        QDBusMessage::createMethodCall(GnomeShellNames::service, GnomeShellNames::extensionsPath,
                                       GnomeShellNames::extensionsInterface, GnomeShellNames::extensionInfoMethod);
    request << GnomeShellNames::tilesExtension;
    const QDBusMessage info = m_bus.call(request, QDBus::Block, kShellTimeout);
    if (info.type() == QDBusMessage::ReplyMessage && info.arguments().size() == 1) {
        const int shellState = qdbus_cast<QVariantMap>(info.arguments().constFirst()).value("state").toInt();
        if (shellState == GnomeShellNames::extensionFailedState ||
            shellState == GnomeShellNames::extensionOutOfDateState)
            return State::Refused;
    }
    return State::Installed;
}

std::optional<QString> GnomeShellExtension::install() {
    const std::optional<Metadata> bundled = metadataIn(m_bundled);
    if (!bundled || bundled->uuid != GnomeShellNames::tilesExtension)
        return QStringLiteral("This copy of Trellin has no GNOME Shell extension at %1").arg(m_bundled);
    if (!m_shell)
        return QStringLiteral("GNOME Shell's settings cannot be read (is the schema %1 installed?)")
            .arg(GnomeShellNames::shellSchema);
    if (!filesCurrent()) {
        if (std::optional<QString> why = copyFiles())
            return why;
    }
    return switchOn();
}

std::optional<QString> GnomeShellExtension::copyFiles() {
    if (!QDir().mkpath(m_extensions))
        return QStringLiteral("Cannot create %1").arg(m_extensions);
    // Copied beside the target and swapped in whole, so the shell never finds half an extension.
    QByteArray staging = QFile::encodeName(m_extensions + QStringLiteral("/.") + GnomeShellNames::tilesExtension +
                                           QStringLiteral("-XXXXXX"));
    if (!::mkdtemp(staging.data()))
        return QStringLiteral("Cannot create a folder in %1: %2").arg(m_extensions, FileSystem::errorText(errno));
    const QString staged = QFile::decodeName(staging);
    const auto fail = [&](const QString& why) {
        FileSystem::removeItem(staged);
        return std::optional<QString>(why);
    };
    QString error;
    if (!FileSystem::copyTree(m_bundled, staged, &error))
        return fail(QStringLiteral("Cannot copy the extension: %1").arg(error));
    // The shell, not only this user, reads it.
    ::chmod(staging.constData(), 0755);

    const QByteArray target = QFile::encodeName(installedFolder());
    // Whatever stands at the target (an older copy, or a link planted there) is swapped out as an
    // entry of its own and removed as one: nothing a link points to is written or deleted.
    const bool replacing = FileSystem::entryExists(installedFolder());
    const unsigned flags = replacing ? RENAME_EXCHANGE : RENAME_NOREPLACE;
    if (::renameat2(AT_FDCWD, staging.constData(), AT_FDCWD, target.constData(), flags) != 0)
        return fail(QStringLiteral("Cannot put the extension into %1: %2")
                        .arg(installedFolder(), FileSystem::errorText(errno)));
    if (replacing)
        FileSystem::removeItem(staged);
    return std::nullopt;
}

std::optional<QString> GnomeShellExtension::switchOn() {
    // As the shell's own switch does: on in the enabled list, off the disabled one, the other
    // extensions as they were.
    const std::optional<QVariant> enabledValue = m_shell->value(GnomeShellNames::enabledExtensionsKey);
    const std::optional<QVariant> disabledValue = m_shell->value(GnomeShellNames::disabledExtensionsKey);
    if (!enabledValue || !disabledValue)
        return QStringLiteral("GNOME Shell's list of extensions cannot be read");
    QStringList disabled = disabledValue->toStringList();
    if (disabled.removeAll(GnomeShellNames::tilesExtension) > 0) {
        if (std::optional<QString> why = m_shell->setStringList(GnomeShellNames::disabledExtensionsKey, disabled))
            return why;
    }
    QStringList enabled = enabledValue->toStringList();
    if (!enabled.contains(GnomeShellNames::tilesExtension)) {
        enabled.append(GnomeShellNames::tilesExtension);
        if (std::optional<QString> why = m_shell->setStringList(GnomeShellNames::enabledExtensionsKey, enabled))
            return why;
    }
    // The user's own switch for all of them is left as the user set it; but nothing runs until it
    // is turned on, and saying "installed" would promise otherwise.
    if (userExtensionsOff())
        return QStringLiteral("GNOME Shell's extensions are switched off; switch them on in the Extensions app");
    return std::nullopt;
}

bool GnomeShellExtension::userExtensionsOff() const {
    return m_shell->value(GnomeShellNames::userExtensionsOffKey).value_or(QVariant(false)).toBool();
}
