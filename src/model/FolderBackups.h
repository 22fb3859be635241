#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class Clock;

// Kept copies of the folders file, "folders-<UTC time>.json" in a folder of their own, so that a
// mistaken edit can be taken back. The time of a copy is read from its name; files in the folder
// that are not named so (or are not plain files) are not ours and are left alone.
class FolderBackups {
public:
    struct Backup {
        QString fileName;
        QString path;
        QDateTime time; // UTC, to the second
    };

    // After each keep: the newest `keptVersions` copies stay, and the newest copy of each of the
    // last `keptDays` UTC days (today included); the rest go.
    static constexpr int keptVersions = 20;
    static constexpr int keptDays = 14;

    FolderBackups(const QString& directory, Clock& clock);

    const QString& directory() const { return m_directory; }

    // Writes `previousFileBytes` as a new copy (creating the folder), then prunes. Bytes equal to
    // the newest copy's are not written again. False with `error` when the copy could not be made.
    bool keep(const QByteArray& previousFileBytes, QString* error);
    // Newest first.
    QList<Backup> list() const;
    // A copy by its file name, or by a path that leads into this folder; none for anything else.
    std::optional<Backup> find(const QString& fileNameOrPath) const;

private:
    void prune() const;

    QString m_directory;
    Clock& m_clock;
};
