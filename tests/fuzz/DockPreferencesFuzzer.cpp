// The Dock's preferences file, which the Dock and the user may have written anything into: its
// tiles and sizes as read, and the one rewrite, taking a folder's helper tiles out, which must
// leave every other entry as it was.
#include "FuzzSupport.h"

#include "FakeDistributedNotifications.h"
#include "helpers/DockPreferences.h"
#include "model/AppFolder.h"
#include "model/FolderID.h"
#include "platform/DockFileFormat.h"
#include "platform/PreferenceDomain.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>

namespace {

const QUuid folderID = QUuid::fromString(QStringLiteral("{5d0f43a0-6a4c-4d9b-9a52-1c2f7e3b8a11}"));
const QByteArray helpersPlaceholder = "@HELPERS@";
const QUuid otherFolderID = QUuid::fromString(QStringLiteral("{0b7e2c94-3f1d-4e8a-b6c5-d2a9f8e71c30}"));

// The preference API with nothing of its own, so every reading falls back to the file.
class MemoryDomain final : public PreferenceDomain {
public:
    QVariant copyValue(const QString& key) const override { return values.value(key); }
    bool setValue(const QString& key, const QVariant& value, QString*) override {
        values.insert(key, value);
        ++writes;
        return true;
    }
    bool synchronize() override { return true; }

    QVariantMap values;
    int writes = 0;
};

QString helpersDir() {
    return Fuzz::path(QStringLiteral("share/Trellin/Helpers"));
}

QString helperOf(const QString& name) {
    return helpersDir() + u'/' + name + QStringLiteral(".app");
}

void makeHelper(const QString& name, const QUuid& id) {
    const QVariantMap info{{QStringLiteral("TRGroupUUID"), FolderID::canonical(id)}};
    Fuzz::writeFile(helperOf(name) + QStringLiteral("/Contents/Info.plist"),
                    PropertyList::serialize(info, PropertyList::Format::Xml).value());
}

// Entries compared as written, where a NaN equals itself.
QByteArray formOf(const QVariant& entry) {
    return PropertyList::serialize(QVariantList{entry}, PropertyList::Format::Binary).value_or("unwritable");
}

bool isSubsequence(const QVariantList& part, const QVariantList& whole) {
    qsizetype next = 0;
    for (const QVariant& entry : part) {
        const QByteArray form = formOf(entry);
        while (next < whole.size() && formOf(whole.at(next)) != form)
            ++next;
        if (next == whole.size())
            return false;
        ++next;
    }
    return true;
}

QVariantList fileEntries(const QString& path) {
    const std::optional<PropertyList::Document> document = PropertyList::readFile(path);
    if (!document)
        return {};
    return document->root.toMap().value(DockFileFormat::persistentAppsKey).toList();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Fuzz::makeCoreApplication();
    makeHelper(QStringLiteral("Work"), folderID);
    makeHelper(QStringLiteral("Other"), otherFolderID);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString dockFile = DockFileFormat::standardPath(Fuzz::path(QStringLiteral("home")));
    // The helpers folder is a temporary one, so inputs name it by a placeholder.
    Fuzz::writeFile(dockFile, Fuzz::bytes(data, size).replace(helpersPlaceholder, QFile::encodeName(helpersDir())));

    MemoryDomain domain;
    FakeDistributedNotifications notifications;
    const auto bundlePath = [](const QUuid& id) -> std::optional<QString> {
        if (id == folderID)
            return helperOf(QStringLiteral("Work"));
        return std::nullopt;
    };
    DockPreferences preferences(domain, notifications, dockFile, helpersDir(), Fuzz::path(QStringLiteral("state")),
                                {.bundlePath = bundlePath, .isRunning = [](const QString&) { return true; }});
    const AppFolder folder(folderID, QStringLiteral("Work"), QStringLiteral("folder"));

    (void)preferences.dockPersistentApps();
    for (const QString& path : preferences.dockPersistentAppPathsFromFile())
        Fuzz::require(DockFileFormat::standardisedPath(path) == path, "a tile path is not standardised", path);
    (void)preferences.dockTileSize();
    (void)preferences.dockLargeSize();
    (void)preferences.isDockMagnificationEnabled();
    const bool pinned = preferences.isFolderPinned(folder);

    const QVariantList before = fileEntries(dockFile);
    preferences.removeFolderTilesFromDock(folder);
    Fuzz::require(domain.writes <= 1 && notifications.posted.size() == domain.writes,
                  "the Dock was told of a rewrite that was not made, or the reverse");
    if (domain.writes == 0) {
        Fuzz::require(!pinned, "a pinned folder's tiles were not taken out");
        return 0;
    }
    const QVariantList kept = domain.values.value(DockFileFormat::persistentAppsKey).toList();
    Fuzz::require(kept.size() < before.size(), "a rewrite took nothing out");
    Fuzz::require(isSubsequence(kept, before), "the rewrite changed or reordered entries it kept");
    const QString helper = QDir::cleanPath(helperOf(QStringLiteral("Work")));
    for (const QVariant& entry : kept)
        Fuzz::require(DockFileFormat::tileFilePath(entry.toMap()) != helper, "the folder's own tile was kept", helper);
    return 0;
}
