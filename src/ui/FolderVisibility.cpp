#include "FolderVisibility.h"

#include <algorithm>

namespace FolderVisibility {

namespace {

bool matches(const AppFolder& folder, const QString& loweredQuery, const QLocale& locale) {
    if (locale.toLower(folder.name).contains(loweredQuery))
        return true;
    return std::any_of(folder.apps.begin(), folder.apps.end(),
                       [&](const AppItem& app) { return locale.toLower(app.name).contains(loweredQuery); });
}

} // namespace

QList<AppFolder> visibleFolders(const QList<AppFolder>& folders, FolderVisibilityFilter filter,
                                const QString& searchText, const QLocale& locale) {
    const bool searching = !searchText.trimmed().isEmpty();
    const QString loweredQuery = locale.toLower(searchText);
    QList<AppFolder> visible;
    for (const AppFolder& folder : folders) {
        if (filter == FolderVisibilityFilter::InDock && !folder.isInDock)
            continue;
        if (searching && !matches(folder, loweredQuery, locale))
            continue;
        visible.append(folder);
    }
    return visible;
}

qint64 inDockCount(const QList<AppFolder>& folders) {
    return std::count_if(folders.begin(), folders.end(), [](const AppFolder& folder) { return folder.isInDock; });
}

qint64 headerCount(const QList<AppFolder>& folders, FolderVisibilityFilter filter) {
    return filter == FolderVisibilityFilter::InDock ? inDockCount(folders) : qint64(folders.size());
}

} // namespace FolderVisibility
