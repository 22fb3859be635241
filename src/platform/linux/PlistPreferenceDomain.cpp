#include "PlistPreferenceDomain.h"

#include "platform/FileSystem.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>

PlistPreferenceDomain::PlistPreferenceDomain(const QString& preferencesDirectory, const QString& domainName)
    : m_path(QDir(preferencesDirectory).filePath(domainName + QStringLiteral(".plist"))) {}

QVariant PlistPreferenceDomain::copyValue(const QString& key) const {
    const std::optional<PropertyList::Document> document = PropertyList::readFile(m_path);
    if (!document || document->root.typeId() != QMetaType::QVariantMap)
        return {};
    return document->root.toMap().value(key);
}

bool PlistPreferenceDomain::setValue(const QString& key, const QVariant& value, QString* error) {
    QVariantMap values;
    // A new file takes the format the system itself uses for preference files.
    PropertyList::Format format = PropertyList::Format::Binary;
    if (FileSystem::entryExists(m_path)) {
        QString reason;
        const std::optional<PropertyList::Document> document = PropertyList::readFile(m_path, &reason);
        if (!document || document->root.typeId() != QMetaType::QVariantMap) {
            // Replacing it would throw away whatever the owner keeps there.
            if (error)
                *error = document ? QStringLiteral("%1 does not hold a dictionary").arg(m_path)
                                  : QStringLiteral("cannot read %1: %2").arg(m_path, reason);
            return false;
        }
        values = document->root.toMap();
        format = document->format;
    }
    if (value.isValid())
        values.insert(key, value);
    else
        values.remove(key);
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // The file is its owner's, wherever the owner keeps it.
    return PropertyList::writeFileAtomically(m_path, values, format, error, FileSystem::Links::Follow);
}

bool PlistPreferenceDomain::synchronize() {
    // Nothing to flush: every write already replaced the file and every read parses it anew.
    return true;
}
