#include "AppResolver.h"

#include "AppDiscovery.h"
#include "platform/DesktopEntries.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {

const QLatin1String kEntrySuffix(".desktop");

std::optional<AppItem> fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return std::nullopt;
}

} // namespace

AppResolver::AppResolver(const DesktopEntries& entries, QString language, QStringList bundleDirectories)
    : m_entries(entries)
    , m_language(std::move(language))
    , m_bundleDirectories(std::move(bundleDirectories)) {}

std::optional<AppItem> AppResolver::resolve(const QString& app, QString* error) const {
    if (app.isEmpty())
        return fail(error, QStringLiteral("no application given"));
    // A desktop id never holds a slash; a bundle is named by its folder.
    if (app.contains(u'/') || app.endsWith(QLatin1String(".app")))
        return resolvePath(app, error);
    return resolveEntryId(app, error);
}

std::optional<AppItem> AppResolver::resolvePath(const QString& given, QString* error) const {
    const QFileInfo file(QDir::cleanPath(QFileInfo(given).absoluteFilePath()));
    const QString path = file.filePath();
    if (!file.exists())
        return fail(error, QStringLiteral("no such file or folder: %1").arg(path));
    if (file.isDir()) {
        if (std::optional<AppItem> item = AppDiscovery::makeAppItem(path))
            return item;
        return fail(error, QStringLiteral("%1 is a folder but no application bundle (no Info.plist with a "
                                          "CFBundleIdentifier)")
                               .arg(path));
    }
    if (!DesktopEntries::isEntryPath(file.fileName()))
        return fail(error, QStringLiteral("%1 is neither an application bundle nor a desktop entry").arg(path));
    if (AppDiscovery::isOwnLauncher(file.fileName()))
        return fail(error, QStringLiteral("%1 is one of Trellin's own launchers, not an application").arg(path));
    // An installed entry is known by its desktop id, which a file name alone does not give
    // ("vendor/tool.desktop" is "vendor-tool").
    const QString canonical = file.canonicalFilePath();
    for (const DesktopEntries::Entry& entry : m_entries.installed(m_language)) {
        if (QFileInfo(entry.path).canonicalFilePath() == canonical)
            return AppDiscovery::makeEntryItem(entry);
    }
    if (const std::optional<DesktopEntries::Entry> entry = m_entries.entryAt(path, m_language)) {
        if (std::optional<AppItem> item = AppDiscovery::makeEntryItem(*entry))
            return item;
    }
    return fail(error, QStringLiteral("%1 is no desktop entry of an application this desktop shows").arg(path));
}

std::optional<AppItem> AppResolver::resolveEntryId(const QString& given, QString* error) const {
    const QString id = given.endsWith(kEntrySuffix) ? given.chopped(kEntrySuffix.size()) : given;
    if (id.isEmpty())
        return fail(error, QStringLiteral("\"%1\" is no desktop id").arg(given));
    if (AppDiscovery::isOwnLauncher(id + kEntrySuffix))
        return fail(error, QStringLiteral("%1 is one of Trellin's own launchers, not an application").arg(given));
    for (const DesktopEntries::Entry& entry : m_entries.installed(m_language)) {
        if (entry.id == id)
            return AppDiscovery::makeEntryItem(entry);
    }
    return fail(error, QStringLiteral("no installed application has the desktop id %1").arg(id + kEntrySuffix));
}

QList<AppFolder> AppResolver::relocate(QList<AppFolder> folders) const {
    // The machine is looked at only when something is missing: a scan reads every entry.
    std::optional<QHash<QString, QString>> installedURLs;
    for (AppFolder& folder : folders) {
        for (AppItem& item : folder.apps) {
            if (isInstalled(item) || item.bundleID.isEmpty())
                continue;
            if (!installedURLs) {
                installedURLs.emplace();
                const AppDiscovery discovery({m_bundleDirectories, &m_entries, [this] { return m_language; }});
                for (const AppItem& installed : discovery.scanApplications())
                    installedURLs->insert(installed.bundleID, installed.appURL);
            }
            const auto found = installedURLs->constFind(item.bundleID);
            if (found != installedURLs->constEnd())
                item.appURL = *found;
        }
    }
    return folders;
}

bool AppResolver::isInstalled(const AppItem& item) {
    const QString path = item.path();
    return !path.isEmpty() && QFileInfo::exists(path);
}
