#include "DockFile.h"

#include "platform/DockFileFormat.h"
#include "platform/PropertyList.h"

#include <QFileInfo>

namespace {

bool names(const QVariant& entry, const QString& path) {
    return entry.typeId() == QMetaType::QVariantMap && DockFileFormat::tileFilePath(entry.toMap()) == path;
}

} // namespace

DockFile::DockFile(const QString& preferencesDirectory)
    : m_domain(preferencesDirectory, DockFileFormat::domainName) {}

std::optional<DockConfiguration> DockFile::read(QString* error) const {
    if (!QFileInfo::exists(path()))
        return DockConfiguration{};
    QString reason;
    const std::optional<PropertyList::Document> document = PropertyList::readFile(path(), &reason);
    if (!document || document->root.typeId() != QMetaType::QVariantMap) {
        if (error)
            *error = document ? QStringLiteral("%1 does not hold a dictionary").arg(path()) : reason;
        return std::nullopt;
    }
    return DockConfiguration::fromPreferences(document->root.toMap());
}

std::optional<QVariantList> DockFile::persistentApps(QString* error) const {
    // Read through the same check as a write, so an unreadable file is reported, not emptied.
    if (!read(error))
        return std::nullopt;
    const QVariant value = m_domain.copyValue(DockFileFormat::persistentAppsKey);
    if (value.isValid() && value.typeId() != QMetaType::QVariantList) {
        // Not a list the Dock can extend: replacing it would lose what is there.
        if (error)
            *error = QStringLiteral("\"persistent-apps\" in %1 is not an array").arg(path());
        return std::nullopt;
    }
    return value.toList();
}

bool DockFile::keep(const QString& path, const QString& label, const QString& bundleIdentifier, bool* changed,
                    QString* error) {
    *changed = false;
    const std::optional<QString> standard = DockFileFormat::standardisedPath(path);
    std::optional<QVariantList> entries = persistentApps(error);
    if (!standard || !entries)
        return false;
    for (const QVariant& entry : *entries) {
        if (names(entry, *standard))
            return true;
    }
    entries->append(DockFileFormat::applicationTile(*standard, label, bundleIdentifier));
    if (!m_domain.setValue(DockFileFormat::persistentAppsKey, *entries, error))
        return false;
    *changed = true;
    return true;
}

bool DockFile::remove(const QString& path, bool* changed, QString* error) {
    *changed = false;
    const std::optional<QString> standard = DockFileFormat::standardisedPath(path);
    const std::optional<QVariantList> entries = persistentApps(error);
    if (!standard || !entries)
        return false;
    QVariantList kept;
    for (const QVariant& entry : *entries) {
        if (!names(entry, *standard))
            kept.append(entry);
    }
    if (kept.size() == entries->size())
        return true;
    if (!m_domain.setValue(DockFileFormat::persistentAppsKey, kept, error))
        return false;
    *changed = true;
    return true;
}
