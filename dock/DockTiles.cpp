#include "DockTiles.h"

#include "platform/Bundle.h"

#include <QFileInfo>

void DockTiles::setPersistentApps(const QStringList& paths, const QHash<QString, QString>& labels) {
    // A bundle may have been renamed inside while it stood in the Dock.
    m_labels.clear();
    if (paths == m_persistent && labels == m_persistentLabels)
        return;
    m_persistent = paths;
    m_persistentLabels = labels;
    Q_EMIT changed();
}

void DockTiles::registerApplication(const QString& owner, const QString& path) {
    for (const Registration& registration : std::as_const(m_registrations)) {
        if (registration.owner == owner && registration.path == path)
            return;
    }
    m_registrations.append({owner, path});
    Q_EMIT changed();
}

void DockTiles::unregisterApplication(const QString& owner, const QString& path) {
    const qsizetype removed = m_registrations.removeIf(
        [&](const Registration& registration) { return registration.owner == owner && registration.path == path; });
    if (removed > 0)
        Q_EMIT changed();
}

void DockTiles::dropOwner(const QString& owner) {
    const qsizetype removed =
        m_registrations.removeIf([&](const Registration& registration) { return registration.owner == owner; });
    const qsizetype contents = m_contents.removeIf([&](const auto& entry) { return entry.value().owner == owner; });
    if (removed > 0 || contents > 0)
        Q_EMIT changed();
}

void DockTiles::setContent(const QString& owner, const QString& path, const QImage& content) {
    m_contents.insert(path, {owner, content});
    Q_EMIT changed();
}

std::optional<QString> DockTiles::ownerOf(const QString& path) const {
    for (const Registration& registration : m_registrations) {
        if (registration.path == path)
            return registration.owner;
    }
    return std::nullopt;
}

QList<DockItem> DockTiles::items() const {
    QList<DockItem> items;
    const auto itemFor = [this](const QString& path, bool pinned) {
        const QString label = pinned ? m_persistentLabels.value(path, cachedLabel(path)) : cachedLabel(path);
        DockItem item{path, label, pinned, ownerOf(path).has_value(), {}};
        if (item.running)
            item.content = m_contents.value(path).image;
        return item;
    };
    for (const QString& path : m_persistent)
        items.append(itemFor(path, true));
    QStringList shown = m_persistent;
    for (const Registration& registration : m_registrations) {
        if (shown.contains(registration.path))
            continue;
        shown.append(registration.path);
        items.append(itemFor(registration.path, false));
    }
    return items;
}

QString DockTiles::labelFor(const QString& path) {
    const QVariantMap info = Bundle(path).infoDictionary();
    for (const char* key : {"CFBundleDisplayName", "CFBundleName"}) {
        const QVariant name = info.value(QLatin1String(key));
        if (name.typeId() == QMetaType::QString && !name.toString().trimmed().isEmpty())
            return name.toString();
    }
    QString name = QFileInfo(path).fileName();
    for (const char* extension : {".app", ".desktop"}) {
        if (name.endsWith(QLatin1String(extension)))
            name.chop(int(qstrlen(extension)));
    }
    return name;
}

QString DockTiles::cachedLabel(const QString& path) const {
    auto found = m_labels.constFind(path);
    if (found == m_labels.cend())
        found = m_labels.insert(path, labelFor(path));
    return found.value();
}
