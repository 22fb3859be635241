#pragma once

#include <QByteArray>
#include <QString>
#include <QUuid>

#include <optional>

// The marker files through which the main application and the helper processes leave each
// other notes, in "<Application Support>/Trellin/HelperState", named by the folder id's
// canonical text followed by a suffix.
class HelperState {
public:
    explicit HelperState(const QString& applicationSupportDirectory);

    const QString& helperStateDir() const { return m_directory; }
    QString markerPath(const QUuid& folderID, const QString& suffix) const;

    // Written atomically: the moment as seconds since 1970, shortest decimal text, no newline.
    void writeLaunchMarker(const QUuid& folderID, double unixTime) const;
    // An empty ".preserve" marker, replacing any existing one.
    void writePreserveMarker(const QUuid& folderID) const;

    // Absence and failure are ignored: markers are housekeeping.
    void deleteStateMarker(const QUuid& folderID, const QString& suffix) const;
    // True once for an existing ".preserve" marker, which is deleted.
    bool consumePreserveMarker(const QUuid& folderID) const;
    // A marker's bytes when it is a small regular file (links are not followed); none otherwise.
    std::optional<QByteArray> readMarker(const QUuid& folderID, const QString& suffix) const;
    // Reads the ".launch" marker's time (seconds since 1970) and deletes the marker, whether
    // or not it could be read. None when it is missing or is not a plain decimal number.
    std::optional<double> takeLaunchMarker(const QUuid& folderID) const;

private:
    QString m_directory;
};
