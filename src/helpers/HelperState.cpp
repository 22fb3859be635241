#include "HelperState.h"
#include "platform/Protocol.h"

#include "model/FolderID.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>

#include <charconv>

#include <cmath>

HelperState::HelperState(const QString& applicationSupportDirectory)
    : m_directory(QDir(applicationSupportDirectory).filePath(QStringLiteral("Trellin/HelperState"))) {}

QString HelperState::markerPath(const QUuid& folderID, const QString& suffix) const {
    return QDir(m_directory).filePath(FolderID::canonical(folderID) + suffix);
}

void HelperState::writeLaunchMarker(const QUuid& folderID, double unixTime) const {
    QDir().mkpath(m_directory);
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, unixTime).ptr;
    // Markers replace their entry: whatever stood there (a link to a file elsewhere, say) is
    // replaced, never written through.
    FileSystem::writeFileAtomically(markerPath(folderID, Protocol::Marker::launch),
                                    QByteArray(buffer, qsizetype(end - buffer)));
}

void HelperState::writePreserveMarker(const QUuid& folderID) const {
    QDir().mkpath(m_directory);
    FileSystem::writeFileAtomically(markerPath(folderID, Protocol::Marker::preserve), QByteArray());
}

void HelperState::deleteStateMarker(const QUuid& folderID, const QString& suffix) const {
    QFile::remove(markerPath(folderID, suffix));
}

bool HelperState::consumePreserveMarker(const QUuid& folderID) const {
    const QString path = markerPath(folderID, Protocol::Marker::preserve);
    if (!FileSystem::entryExists(path))
        return false;
    QFile::remove(path);
    return true;
}

std::optional<QByteArray> HelperState::readMarker(const QUuid& folderID, const QString& suffix) const {
    // A marker is a number or a flag: anything but a small regular file is no marker.
    return FileSystem::readFile(markerPath(folderID, suffix), FileSystem::kMarkerLimit, FileSystem::Links::Refuse)
        .bytes;
}

std::optional<double> HelperState::takeLaunchMarker(const QUuid& folderID) const {
    const QString path = markerPath(folderID, Protocol::Marker::launch);
    if (!FileSystem::entryExists(path))
        return std::nullopt;
    const QString text =
        QString::fromUtf8(readMarker(folderID, Protocol::Marker::launch).value_or(QByteArray())).trimmed();
    QFile::remove(path);
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !std::isfinite(seconds))
        return std::nullopt;
    return seconds;
}
