#include "FolderCommandCenter.h"
#include "platform/Protocol.h"

#include "discovery/FolderExchange.h"
#include "model/FolderBackups.h"
#include "model/FolderDocument.h"
#include "model/FolderID.h"
#include "model/FolderLaunch.h"
#include "model/Timestamp.h"
#include "platform/Clock.h"
#include "platform/DistributedNotifications.h"
#include "platform/NotificationNames.h"
#include "ui/FolderIcons.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

using Failure = FolderCommands::Failure;
using Outcome = FolderCommands::Outcome;

// A new folder's symbol when none is asked for, as the main window's New Folder starts with.
const QString kDefaultSymbol = QStringLiteral("folder");

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// A folder's name as the store keeps it, or none when nothing is left of it.
std::optional<QString> folderName(const QString& name) {
    const QString trimmed = AppFolder::storableName(name).trimmed();
    return trimmed.isEmpty() ? std::nullopt : std::optional(trimmed);
}

bool sameApplication(const AppItem& a, const AppItem& b) {
    if (!a.bundleID.isEmpty() && a.bundleID == b.bundleID)
        return true;
    const QString path = a.path();
    return !path.isEmpty() && QDir::cleanPath(path) == QDir::cleanPath(b.path());
}

// An APP argument against an item as stored, for an application this machine may not have.
bool namesItem(const QString& app, const AppItem& item) {
    static const QString suffix = QStringLiteral(".desktop");
    const QString withoutSuffix = app.endsWith(suffix) ? app.chopped(suffix.size()) : app;
    const QString itemWithoutSuffix =
        item.bundleID.endsWith(suffix) ? item.bundleID.chopped(suffix.size()) : item.bundleID;
    if (!item.bundleID.isEmpty() && withoutSuffix == itemWithoutSuffix)
        return true;
    const QString path = item.path();
    return !path.isEmpty() && QDir::isAbsolutePath(app) && QDir::cleanPath(app) == QDir::cleanPath(path);
}

QString summary(const FolderStore::ImportResult& result) {
    return QStringLiteral("added %1, updated %2, unchanged %3")
        .arg(result.added)
        .arg(result.updated)
        .arg(result.unchanged);
}

} // namespace

FolderCommandCenter::FolderCommandCenter(Services services)
    : m_services(std::move(services)) {}

std::variant<AppFolder, Outcome> FolderCommandCenter::findFolder(const QString& folder) const {
    const QList<AppFolder>& folders = m_services.store.folders();
    if (const std::optional<QUuid> id = FolderID::parse(folder)) {
        for (const AppFolder& candidate : folders)
            if (candidate.id == *id)
                return candidate;
        return Outcome::refused(Failure::NotFound, QStringLiteral("no folder has the id ") + folder);
    }
    QList<AppFolder> named;
    std::copy_if(folders.begin(), folders.end(), std::back_inserter(named),
                 [&folder](const AppFolder& candidate) { return candidate.name == folder; });
    if (named.isEmpty())
        return Outcome::refused(Failure::NotFound, QStringLiteral("no folder is named ") + quoted(folder));
    if (named.size() > 1)
        return Outcome::refused(Failure::Ambiguous, QStringLiteral("%1 folders are named %2; name one by its id "
                                                                   "(trellinctl list shows them)")
                                                        .arg(named.size())
                                                        .arg(quoted(folder)));
    return named.first();
}

std::variant<QList<AppItem>, Outcome> FolderCommandCenter::resolveApps(const QStringList& apps) const {
    QList<AppItem> items;
    for (const QString& app : apps) {
        QString error;
        const std::optional<AppItem> item = m_services.exchange.resolve(app, &error);
        if (!item)
            return Outcome::refused(Failure::NotFound,
                                    error.isEmpty() ? QStringLiteral("no application ") + quoted(app) : error);
        // The same application named twice is one item.
        if (std::none_of(items.begin(), items.end(),
                         [&item](const AppItem& known) { return sameApplication(known, *item); }))
            items.append(*item);
    }
    return items;
}

Outcome FolderCommandCenter::saved(QString text) const {
    if (m_services.store.foldersFileBehind())
        return Outcome::refused(Failure::Failed, QStringLiteral("the change was made but the folders file could not be "
                                                                "saved (it will be tried again): ") +
                                                     m_services.store.saveFailureReason());
    return Outcome::success(std::move(text));
}

Outcome FolderCommandCenter::list() const {
    QJsonArray folders;
    for (const AppFolder& folder : m_services.store.folders()) {
        QJsonArray apps;
        for (const AppItem& app : folder.apps) {
            const QString path = app.path();
            apps.append(QJsonObject{{QStringLiteral("name"), app.name},
                                    {QStringLiteral("bundleID"), app.bundleID},
                                    {QStringLiteral("path"), path},
                                    {QStringLiteral("installed"), FolderExchange::isInstalled(app)}});
        }
        folders.append(QJsonObject{{QStringLiteral("id"), FolderID::canonical(folder.id)},
                                   {QStringLiteral("name"), folder.name},
                                   {QStringLiteral("symbol"), folder.emoji},
                                   {QStringLiteral("inDock"), folder.isInDock},
                                   {QStringLiteral("apps"), apps}});
    }
    return Outcome::success(QString::fromUtf8(QJsonDocument(folders).toJson(QJsonDocument::Compact)));
}

Outcome FolderCommandCenter::add(const QString& name, const QString& symbol, const QStringList& apps) {
    const std::optional<QString> trimmed = folderName(name);
    if (!trimmed)
        return Outcome::refused(Failure::InvalidArgument, QStringLiteral("a folder needs a name"));
    const QString chosen = symbol.isEmpty() ? kDefaultSymbol : symbol;
    const std::span<const QLatin1String> offered = FolderIcons::availableIcons();
    if (std::find(offered.begin(), offered.end(), chosen) == offered.end())
        return Outcome::refused(
            Failure::InvalidArgument,
            QStringLiteral("unknown symbol %1 (the New Folder sheet's symbols are offered, e.g. %2)")
                .arg(quoted(chosen), quoted(kDefaultSymbol)));
    const auto items = resolveApps(apps);
    if (const Outcome* refusal = std::get_if<Outcome>(&items))
        return *refusal;
    AppFolder folder(QUuid::createUuid(), *trimmed, chosen, Timestamp::fromUnix(m_services.clock.now()));
    folder.apps = std::get<QList<AppItem>>(items);
    m_services.store.addFolder(folder);
    return saved(FolderID::canonical(folder.id));
}

Outcome FolderCommandCenter::remove(const QString& name) {
    const auto found = findFolder(name);
    if (const Outcome* refusal = std::get_if<Outcome>(&found))
        return *refusal;
    const AppFolder& folder = std::get<AppFolder>(found);
    // As the main window's delete: a tile in the Dock shows its badge before its helper goes.
    if (folder.isInDock) {
        m_services.distributedNotifications.post(NotificationName::TRFolderDeleteBadge, {},
                                                 {{Protocol::Key::id, FolderID::canonical(folder.id)}});
        m_services.store.deleteFolder(folder.id, m_services.helperRemovalDelay);
    } else {
        m_services.store.deleteFolder(folder.id, 0);
    }
    return saved();
}

Outcome FolderCommandCenter::rename(const QString& name, const QString& newName) {
    const auto found = findFolder(name);
    if (const Outcome* refusal = std::get_if<Outcome>(&found))
        return *refusal;
    const std::optional<QString> trimmed = folderName(newName);
    if (!trimmed)
        return Outcome::refused(Failure::InvalidArgument, QStringLiteral("a folder needs a name"));
    AppFolder folder = std::get<AppFolder>(found);
    folder.name = *trimmed;
    m_services.store.updateFolder(folder);
    return saved();
}

Outcome FolderCommandCenter::addApps(const QString& name, const QStringList& apps) {
    const auto found = findFolder(name);
    if (const Outcome* refusal = std::get_if<Outcome>(&found))
        return *refusal;
    const auto items = resolveApps(apps);
    if (const Outcome* refusal = std::get_if<Outcome>(&items))
        return *refusal;
    AppFolder folder = std::get<AppFolder>(found);
    int added = 0;
    for (const AppItem& item : std::get<QList<AppItem>>(items)) {
        if (std::any_of(folder.apps.begin(), folder.apps.end(),
                        [&item](const AppItem& known) { return sameApplication(known, item); }))
            continue;
        folder.apps.append(item);
        ++added;
    }
    if (added == 0)
        return Outcome::success(QStringLiteral("already in the folder"));
    m_services.store.updateFolder(folder);
    return saved();
}

Outcome FolderCommandCenter::removeApp(const QString& name, const QString& app) {
    const auto found = findFolder(name);
    if (const Outcome* refusal = std::get_if<Outcome>(&found))
        return *refusal;
    AppFolder folder = std::get<AppFolder>(found);
    QString ignored;
    const std::optional<AppItem> resolved = m_services.exchange.resolve(app, &ignored);
    const qsizetype before = folder.apps.size();
    folder.apps.removeIf(
        [&](const AppItem& item) { return (resolved && sameApplication(*resolved, item)) || namesItem(app, item); });
    if (folder.apps.size() == before)
        return Outcome::refused(Failure::NotFound,
                                QStringLiteral("%1 is not in the folder %2").arg(quoted(app), quoted(folder.name)));
    m_services.store.updateFolder(folder);
    return saved();
}

Outcome FolderCommandCenter::setInDock(const QString& name, bool inDock) {
    const auto found = findFolder(name);
    if (const Outcome* refusal = std::get_if<Outcome>(&found))
        return *refusal;
    const AppFolder& folder = std::get<AppFolder>(found);
    // An empty folder has no tile to show, as the card's switch says too.
    if (inDock && folder.apps.isEmpty())
        return Outcome::refused(Failure::InvalidArgument,
                                QStringLiteral("the folder %1 has no applications to show in the Dock; add some first")
                                    .arg(quoted(folder.name)));
    // As the card's switch: the tile follows (a helper made, or its removal scheduled).
    AppFolder changed = folder;
    changed.isInDock = inDock;
    m_services.store.updateFolder(changed);
    return saved();
}

void FolderCommandCenter::open(const QString& name, Done done) {
    const auto found = findFolder(name);
    if (const Outcome* refusal = std::get_if<Outcome>(&found))
        return done(*refusal);
    const AppFolder& folder = std::get<AppFolder>(found);
    // Only a folder in the Dock has a helper, whose popup this is.
    if (!folder.isInDock)
        return done(Outcome::refused(Failure::InvalidArgument,
                                     QStringLiteral("the folder %1 is not in the Dock; put it there first with: "
                                                    "trellinctl dock %2 on")
                                         .arg(quoted(folder.name), FolderID::canonical(folder.id))));
    m_services.showPopup(folder.id, std::move(done));
}

void FolderCommandCenter::launchAll(const QString& name, Done done) {
    const auto found = findFolder(name);
    if (const Outcome* refusal = std::get_if<Outcome>(&found))
        return done(*refusal);
    const AppFolder& folder = std::get<AppFolder>(found);
    if (folder.apps.isEmpty())
        return done(Outcome::refused(Failure::InvalidArgument,
                                     QStringLiteral("the folder %1 has no applications").arg(quoted(folder.name))));
    FolderLaunch::launchAll(folder, m_services.workspace, [done = std::move(done)](const QStringList& failed) {
        done(failed.isEmpty() ? Outcome::success()
                              : Outcome::refused(Failure::Failed, QStringLiteral("could not open: ") +
                                                                      failed.join(QStringLiteral(", "))));
    });
}

Outcome FolderCommandCenter::exportDocument() const {
    QString error;
    const std::optional<QByteArray> document = FolderDocument::encode(m_services.store.folders(), &error);
    if (!document)
        return Outcome::refused(Failure::Failed, QStringLiteral("could not write the folders document: ") + error);
    return Outcome::success(QString::fromUtf8(*document));
}

Outcome FolderCommandCenter::imported(const std::optional<FolderStore::ImportResult>& result, const QString& error) {
    if (!result)
        return Outcome::refused(Failure::InvalidArgument, error);
    return saved(summary(*result));
}

Outcome FolderCommandCenter::importDocument(const QByteArray& document) {
    QString error;
    const std::optional<FolderStore::ImportResult> result = m_services.exchange.importDocument(document, &error);
    return imported(result, error);
}

Outcome FolderCommandCenter::importDesktopAppFolders() {
    QString error;
    const std::optional<FolderStore::ImportResult> result = m_services.exchange.importDesktopAppFolders(&error);
    if (!result)
        return Outcome::refused(Failure::NotFound, error);
    return saved(summary(*result));
}

Outcome FolderCommandCenter::backups() const {
    QJsonArray copies;
    for (const FolderBackups::Backup& backup : m_services.store.backups().list())
        copies.append(QJsonObject{{QStringLiteral("file"), backup.fileName},
                                  {QStringLiteral("time"), backup.time.toUTC().toString(Qt::ISODate)}});
    return Outcome::success(QString::fromUtf8(QJsonDocument(copies).toJson(QJsonDocument::Compact)));
}

Outcome FolderCommandCenter::restore(const QString& backup) {
    if (!m_services.store.backups().find(backup))
        return Outcome::refused(Failure::NotFound, QStringLiteral("no kept copy ") + quoted(backup) +
                                                       QStringLiteral(" (trellinctl backups lists them)"));
    QString error;
    if (!m_services.store.restoreBackup(backup, &error))
        return Outcome::refused(Failure::Failed, error);
    return saved();
}
