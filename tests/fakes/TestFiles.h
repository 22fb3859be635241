#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

// Whole-file reads and writes for tests. Writing creates the missing folders first.
inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

[[nodiscard]] inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Everything under `root`, links not followed: each entry's kind, permissions and contents (a
// file's bytes, a link's text), so that two snapshots differ when anything in the tree changed.
inline QMap<QString, QByteArray> treeSnapshot(const QString& root) {
    QMap<QString, QByteArray> snapshot;
    const auto describe = [](const QString& path) {
        struct stat status {};
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
            return QByteArray("missing");
        QByteArray entry = QByteArray::number(status.st_mode, 8) + ' ';
        if (S_ISLNK(status.st_mode)) {
            char text[4096];
            const ssize_t length = ::readlink(QFile::encodeName(path).constData(), text, sizeof text);
            entry += QByteArray(text, length > 0 ? qsizetype(length) : 0);
        } else if (S_ISREG(status.st_mode))
            entry += readFile(path);
        return entry;
    };
    snapshot.insert(QStringLiteral("."), describe(root));
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        snapshot.insert(QDir(root).relativeFilePath(path), describe(path));
    }
    return snapshot;
}
