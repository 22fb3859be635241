#include "HelperState.h"

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
    FileSystem::writeFileAtomically(markerPath(folderID, QStringLiteral(".launch")),
                                    QByteArray(buffer, qsizetype(end - buffer)));
}

void HelperState::writePreserveMarker(const QUuid& folderID) const {
    QDir().mkpath(m_directory);
    QFile file(markerPath(folderID, QStringLiteral(".preserve")));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.close();
}

void HelperState::deleteStateMarker(const QUuid& folderID, const QString& suffix) const {
    QFile::remove(markerPath(folderID, suffix));
}

bool HelperState::consumePreserveMarker(const QUuid& folderID) const {
    const QString path = markerPath(folderID, QStringLiteral(".preserve"));
    if (!QFile::exists(path))
        return false;
    QFile::remove(path);
    return true;
}

std::optional<double> HelperState::takeLaunchMarker(const QUuid& folderID) const {
    QFile file(markerPath(folderID, QStringLiteral(".launch")));
    if (!file.exists())
        return std::nullopt;
    const bool opened = file.open(QIODevice::ReadOnly);
    const QString text = opened ? QString::fromUtf8(file.readAll()).trimmed() : QString();
    file.close();
    file.remove();
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !std::isfinite(seconds))
        return std::nullopt;
    return seconds;
}
