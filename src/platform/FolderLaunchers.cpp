#include "FolderLaunchers.h"

namespace {

const QString kFolderPrefix = QStringLiteral("trellin-folder-");
const QString kEntrySuffix = QStringLiteral(".desktop");

QString canonical(const QUuid& folder) {
    return folder.toString(QUuid::WithoutBraces).toUpper();
}

} // namespace

QString FolderLaunchers::entryId(const QUuid& folder) {
    return windowClass(folder) + kEntrySuffix;
}

std::optional<QUuid> FolderLaunchers::folderOfEntry(const QString& entryId) {
    if (!entryId.startsWith(kFolderPrefix) || !entryId.endsWith(kEntrySuffix))
        return std::nullopt;
    const QString text = entryId.mid(kFolderPrefix.size(), entryId.size() - kFolderPrefix.size() - kEntrySuffix.size());
    // The parser is lenient (braces, lower case, a null id for garbage): only the text it gives
    // back unchanged names a folder.
    const QUuid folder = QUuid::fromString(text);
    if (canonical(folder) != text)
        return std::nullopt;
    return folder;
}

QString FolderLaunchers::windowClass(const QUuid& folder) {
    return kFolderPrefix + canonical(folder);
}

QString FolderLaunchers::mainEntryId() {
    return mainWindowClass() + kEntrySuffix;
}

QString FolderLaunchers::mainWindowClass() {
    return QStringLiteral("trellin");
}
