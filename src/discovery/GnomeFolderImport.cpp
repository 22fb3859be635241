#include "GnomeFolderImport.h"

#include "AppDiscovery.h"
#include "model/Timestamp.h"
#include "platform/Clock.h"
#include "platform/Console.h"
#include "platform/DesktopAppFolders.h"
#include "platform/DesktopEntries.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QSet>

#include <algorithm>

namespace {

// Fixed for ever: every machine derives the same Trellin folder from the same desktop folder.
const QUuid kFolderNamespace(QStringLiteral("{1499362C-6A52-4C88-9EE2-4EDD11CDC1F4}"));

const QLatin1String kEntrySuffix(".desktop");
const QLatin1String kDirectorySuffix(".directory");

QString withoutSuffix(const QString& text, QLatin1String suffix) {
    return text.endsWith(suffix) ? text.chopped(suffix.size()) : text;
}

void log(const QString& line) {
    Console::printLine(QStringLiteral("[GnomeFolderImport] ") + line);
}

} // namespace

GnomeFolderImport::GnomeFolderImport(const DesktopAppFolders& source, const DesktopEntries& entries, QString language,
                                     const Clock& clock)
    : m_source(source)
    , m_entries(entries)
    , m_language(std::move(language))
    , m_clock(clock) {}

QUuid GnomeFolderImport::folderId(const QString& desktopFolderId) {
    return QUuid::createUuidV5(kFolderNamespace, desktopFolderId);
}

bool GnomeFolderImport::available() const {
    return !m_source.folders().isEmpty();
}

QList<AppFolder> GnomeFolderImport::folders() const {
    const double now = Timestamp::fromUnix(m_clock.now());
    QList<AppFolder> folders;
    for (const DesktopAppFolder& folder : m_source.folders())
        folders.append(convert(folder, now));
    return folders;
}

AppFolder GnomeFolderImport::convert(const DesktopAppFolder& folder, double now) const {
    QString name = folder.name;
    if (folder.translate) {
        const QString translated = m_entries.directoryName(folder.name, m_language);
        name = translated.isEmpty() ? withoutSuffix(folder.name, kDirectorySuffix) : translated;
    }
    if (name.trimmed().isEmpty())
        name = folder.id;
    AppFolder result(folderId(folder.id), AppFolder::storableName(name), symbol, now);

    const QList<DesktopEntries::Entry> installed = m_entries.installed(m_language);
    QHash<QString, const DesktopEntries::Entry*> byId;
    for (const DesktopEntries::Entry& entry : installed)
        byId.insert(entry.id, &entry);

    QSet<QString> listed;
    for (const QString& app : folder.apps) {
        const QString id = withoutSuffix(app, kEntrySuffix);
        if (listed.contains(id))
            continue;
        listed.insert(id);
        const DesktopEntries::Entry* entry = byId.value(id);
        // The desktop keeps ids only: one not installed here has no place to launch from.
        if (!entry) {
            log(QStringLiteral("%1 of the folder \"%2\" is not installed; left out").arg(app, folder.id));
            continue;
        }
        if (std::optional<AppItem> item = AppDiscovery::makeEntryItem(*entry))
            result.apps.append(std::move(*item));
    }

    if (!folder.categories.isEmpty()) {
        QSet<QString> excluded;
        for (const QString& app : folder.excludedApps)
            excluded.insert(withoutSuffix(app, kEntrySuffix));
        const QSet<QString> categories(folder.categories.cbegin(), folder.categories.cend());
        QList<AppItem> byCategory;
        for (const DesktopEntries::Entry& entry : installed) {
            if (listed.contains(entry.id) || excluded.contains(entry.id))
                continue;
            const bool belongs = std::any_of(entry.categories.cbegin(), entry.categories.cend(),
                                             [&](const QString& category) { return categories.contains(category); });
            if (!belongs)
                continue;
            listed.insert(entry.id);
            if (std::optional<AppItem> item = AppDiscovery::makeEntryItem(entry))
                byCategory.append(std::move(*item));
        }
        QCollator collator(m_language.isEmpty() ? QLocale() : QLocale(m_language));
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(byCategory.begin(), byCategory.end(),
                         [&](const AppItem& a, const AppItem& b) { return collator.compare(a.name, b.name) < 0; });
        result.apps += byCategory;
    }
    return result;
}

FolderStore::ImportResult GnomeFolderImport::importInto(FolderStore& store) const {
    QList<AppFolder> incoming = folders();
    for (AppFolder& folder : incoming) {
        const AppFolder* existing = store.folder(folder.id);
        if (!existing)
            continue;
        // The user's own choices stay; what the desktop decides (name, applications) follows it.
        AppFolder refreshed = *existing;
        refreshed.name = folder.name;
        refreshed.apps.clear();
        for (AppItem item : folder.apps) {
            // An application already there keeps its item id, so an unchanged folder stays unchanged.
            const auto same = std::find_if(existing->apps.cbegin(), existing->apps.cend(), [&](const AppItem& known) {
                return known.bundleID == item.bundleID && known.appURL == item.appURL;
            });
            if (same != existing->apps.cend())
                item.id = same->id;
            refreshed.apps.append(std::move(item));
        }
        folder = std::move(refreshed);
    }
    return store.importFolders(incoming);
}
