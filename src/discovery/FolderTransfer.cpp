#include "FolderTransfer.h"

#include "AppResolver.h"
#include "model/FolderDocument.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

bool fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

} // namespace

bool FolderTransfer::exportTo(const QString& path, const FolderStore& store, QString* error) {
    if (path.isEmpty())
        return fail(error, QStringLiteral("no file to export to"));
    // Replacing a folder would take everything in it; a link to one is refused the same way.
    if (QFileInfo(path).isDir())
        return fail(error, QStringLiteral("%1 is a folder, not a file").arg(path));
    QString why;
    const std::optional<QByteArray> bytes = FolderDocument::encode(store.folders(), &why);
    if (!bytes)
        return fail(error, QStringLiteral("cannot write the folders: %1").arg(why));
    if (!FileSystem::writeFileAtomically(path, *bytes, &why, FileSystem::Links::Follow))
        return fail(error, QStringLiteral("cannot write %1: %2").arg(path, why));
    return true;
}

std::optional<FolderStore::ImportResult> FolderTransfer::importFrom(const QString& path, FolderStore& store,
                                                                    const AppResolver& resolver, const Clock& clock,
                                                                    QString* error) {
    const FileSystem::ReadResult file = FileSystem::readFile(path, FileSystem::kDocumentLimit);
    if (!file.bytes) {
        fail(error, QStringLiteral("cannot read %1: %2").arg(path, file.error));
        return std::nullopt;
    }
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(qint64(clock.now() * 1000), Qt::UTC);
    auto decoded = FolderDocument::decode(*file.bytes, now);
    if (const auto* failure = std::get_if<FolderDocument::Failure>(&decoded)) {
        fail(error, FolderDocument::describe(*failure));
        return std::nullopt;
    }
    return store.importFolders(resolver.relocate(std::get<QList<AppFolder>>(std::move(decoded))));
}
