#include "FolderBackups.h"

#include "platform/Clock.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kStampFormat = QStringLiteral("yyyyMMdd'T'HHmmss'Z'");

// "folders-20261209T074012Z.json", and "-2", "-3"… before ".json" for more copies in one second.
const QRegularExpression& namePattern() {
    static const QRegularExpression pattern(QStringLiteral("^folders-(\\d{8}T\\d{6}Z)(?:-([1-9]\\d{0,8}))?\\.json$"));
    return pattern;
}

struct Entry {
    FolderBackups::Backup backup;
    int sequence = 1;
};

std::optional<Entry> parseName(const QString& directory, const QString& fileName) {
    const QRegularExpressionMatch match = namePattern().match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    QDateTime time = QDateTime::fromString(match.captured(1), kStampFormat);
    if (!time.isValid())
        return std::nullopt;
    time.setTimeSpec(Qt::UTC);
    const int sequence = match.capturedLength(2) ? match.captured(2).toInt() : 1;
    return Entry{{fileName, QDir(directory).filePath(fileName), time}, sequence};
}

// Plain files only: a link or a folder with one of our names is someone else's.
bool isPlainFile(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

QList<Entry> entries(const QString& directory) {
    QList<Entry> found;
    const QStringList names = QDir(directory).entryList(QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& name : names) {
        std::optional<Entry> entry = parseName(directory, name);
        if (entry && isPlainFile(entry->backup.path))
            found.append(*entry);
    }
    std::sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) {
        if (a.backup.time != b.backup.time)
            return a.backup.time > b.backup.time;
        return a.sequence > b.sequence;
    });
    return found;
}

} // namespace

FolderBackups::FolderBackups(const QString& directory, Clock& clock)
    : m_directory(directory)
    , m_clock(clock) {}

QList<FolderBackups::Backup> FolderBackups::list() const {
    QList<Backup> backups;
    for (const Entry& entry : entries(m_directory))
        backups.append(entry.backup);
    return backups;
}

std::optional<FolderBackups::Backup> FolderBackups::find(const QString& fileNameOrPath) const {
    QString fileName = fileNameOrPath;
    if (fileNameOrPath.contains(u'/')) {
        // A path counts only when its folder is this one, however it is spelled.
        const QFileInfo info(fileNameOrPath);
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        if (folder.isEmpty() || folder != QFileInfo(m_directory).canonicalFilePath())
            return std::nullopt;
        fileName = info.fileName();
    }
    for (const Entry& entry : entries(m_directory)) {
        if (entry.backup.fileName == fileName)
            return entry.backup;
    }
    return std::nullopt;
}

bool FolderBackups::keep(const QByteArray& previousFileBytes, QString* error) {
    const QList<Entry> existing = entries(m_directory);
    if (!existing.isEmpty()) {
        const FileSystem::ReadResult newest =
            FileSystem::readFile(existing.first().backup.path, FileSystem::kDocumentLimit, FileSystem::Links::Refuse);
        if (newest.bytes == previousFileBytes)
            return true;
    }
    if (!QDir().mkpath(m_directory)) {
        if (error)
            *error = QStringLiteral("could not make the folder %1").arg(m_directory);
        return false;
    }
    const QString stamp = QDateTime::fromMSecsSinceEpoch(qint64(m_clock.now() * 1000), Qt::UTC).toString(kStampFormat);
    QString path = QDir(m_directory).filePath(QStringLiteral("folders-%1.json").arg(stamp));
    for (int n = 2; FileSystem::entryExists(path); ++n)
        path = QDir(m_directory).filePath(QStringLiteral("folders-%1-%2.json").arg(stamp).arg(n));
    if (!FileSystem::writeFileAtomically(path, previousFileBytes, error, FileSystem::Links::Refuse))
        return false;
    prune();
    return true;
}

void FolderBackups::prune() const {
    const QDate today = QDateTime::fromMSecsSinceEpoch(qint64(m_clock.now() * 1000), Qt::UTC).date();
    QSet<QDate> daysKept;
    const QList<Entry> all = entries(m_directory);
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QDate day = all.at(i).backup.time.date();
        const qint64 age = day.daysTo(today);
        // Newest first, so the first copy met on a day is that day's newest.
        const bool dailyCopy = age >= 0 && age < keptDays && !daysKept.contains(day);
        if (dailyCopy)
            daysKept.insert(day);
        if (i < keptVersions || dailyCopy)
            continue;
        // Only plain files got here, and unlink removes a name, never what a link points to. A copy
        // that will not go stays until a later keep tries again.
        ::unlink(QFile::encodeName(all.at(i).backup.path).constData());
    }
}
