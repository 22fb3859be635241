#include "platform/linux/GioDesktopAppFolders.h"

#include "platform/linux/DesktopSettings.h"

#include <QSet>

namespace {

QStringList stringList(const DesktopSettings::Schema& schema, const QString& key) {
    return schema.value(key).value_or(QVariant()).toStringList();
}

} // namespace

GioDesktopAppFolders::GioDesktopAppFolders(DesktopSettings& settings)
    : m_settings(settings) {}

QString GioDesktopAppFolders::folderPath(const QString& id) {
    return QStringLiteral("/org/gnome/desktop/app-folders/folders/%1/").arg(id);
}

QList<DesktopAppFolder> GioDesktopAppFolders::folders() const {
    const std::unique_ptr<DesktopSettings::Schema> list = m_settings.open(schemaId);
    if (!list)
        return {};
    QList<DesktopAppFolder> folders;
    QSet<QString> seen;
    for (const QString& id : stringList(*list, QStringLiteral("folder-children"))) {
        // An id is one element of a settings path; anything else would read another folder's keys.
        if (id.isEmpty() || id.contains(u'/') || seen.contains(id))
            continue;
        seen.insert(id);
        const std::unique_ptr<DesktopSettings::Schema> folder = m_settings.open(folderSchemaId, folderPath(id));
        if (!folder)
            continue;
        folders.append({id, folder->value(QStringLiteral("name")).value_or(QVariant()).toString(),
                        stringList(*folder, QStringLiteral("apps")), stringList(*folder, QStringLiteral("categories")),
                        stringList(*folder, QStringLiteral("excluded-apps")),
                        folder->value(QStringLiteral("translate")).value_or(QVariant(false)).toBool()});
    }
    return folders;
}
