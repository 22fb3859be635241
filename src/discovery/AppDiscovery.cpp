#include "AppDiscovery.h"

#include "platform/Bundle.h"
#include "platform/DesktopEntries.h"
#include "platform/FolderLaunchers.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QUuid>

#include <algorithm>

QStringList AppDiscovery::standardDirectories(const QString& home) {
    return {
        QStringLiteral("/Applications"),
        QStringLiteral("/Applications/Utilities"),
        home + QStringLiteral("/Applications"),
        QStringLiteral("/System/Applications"),
        QStringLiteral("/System/Applications/Utilities"),
        QStringLiteral("/System/Library/CoreServices/Applications"),
    };
}

AppDiscovery::AppDiscovery(Sources sources)
    : m_sources(std::move(sources)) {}

std::optional<AppItem> AppDiscovery::makeAppItem(const QString& path) {
    if (!QFileInfo(path).isDir())
        return std::nullopt;
    const Bundle bundle(path);
    const QVariantMap info = bundle.infoDictionary();
    const QVariant identifier = info.value(QStringLiteral("CFBundleIdentifier"));
    // An empty identifier is no identifier: it would stand for every such bundle at once.
    if (identifier.typeId() != QMetaType::QString || identifier.toString().isEmpty())
        return std::nullopt;

    QString name;
    const QVariant displayName = info.value(QStringLiteral("CFBundleDisplayName"));
    const QVariant bundleName = info.value(QStringLiteral("CFBundleName"));
    if (displayName.typeId() == QMetaType::QString) {
        name = displayName.toString();
    } else if (bundleName.typeId() == QMetaType::QString) {
        name = bundleName.toString();
    } else {
        // Only the last extension goes: "My.Tool.app" is "My.Tool".
        const QString fileName = QFileInfo(QDir::cleanPath(path)).fileName();
        const qsizetype dot = fileName.lastIndexOf(u'.');
        name = dot > 0 ? fileName.left(dot) : fileName;
    }
    return AppItem{QUuid::createUuid(), name, identifier.toString(), AppItem::fileURLForPath(path, true)};
}

bool AppDiscovery::isOwnLauncher(const QString& fileName) {
    return fileName == FolderLaunchers::mainEntryId() || FolderLaunchers::folderOfEntry(fileName);
}

std::optional<AppItem> AppDiscovery::makeEntryItem(const DesktopEntries::Entry& entry) {
    if (isOwnLauncher(entry.id + QStringLiteral(".desktop")))
        return std::nullopt;
    return AppItem{QUuid::createUuid(), entry.name, entry.id, AppItem::fileURLForPath(entry.path, false)};
}

QList<AppItem> AppDiscovery::scanApplications() const {
    QList<AppItem> items;
    QSet<QString> seen;
    const auto keep = [&](AppItem item) {
        if (seen.contains(item.bundleID))
            return;
        seen.insert(item.bundleID);
        items.append(std::move(item));
    };

    for (const QString& directory : m_sources.bundleDirectories) {
        // Names only, one level, in the order the file system lists them; a folder that cannot
        // be listed yields nothing.
        const QStringList names = QDir(directory).entryList(
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Unsorted);
        for (const QString& name : names) {
            if (!name.endsWith(QLatin1String(".app"), Qt::CaseSensitive))
                continue;
            if (std::optional<AppItem> item = makeAppItem(directory + u'/' + name))
                keep(std::move(*item));
        }
    }

    const QString language = m_sources.language ? m_sources.language() : QString();
    if (m_sources.desktopEntries) {
        for (const DesktopEntries::Entry& entry : m_sources.desktopEntries->installed(language)) {
            if (std::optional<AppItem> item = makeEntryItem(entry))
                keep(std::move(*item));
        }
    }

    QCollator collator(language.isEmpty() ? QLocale() : QLocale(language));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(items.begin(), items.end(),
              [&](const AppItem& a, const AppItem& b) { return collator.compare(a.name, b.name) < 0; });
    return items;
}
