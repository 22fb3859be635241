#pragma once

#include "platform/FileStamp.h"
#include "platform/UserDefaults.h"

// User defaults kept in "<preferencesDirectory>/<domainName>.plist", shared by every process of
// the application (and whatever other program edits the file).
//
// Reads: the argument domain first, then the file, which is read again whenever it changed on
// disk. Writes: under an exclusive lock on "<file>.lock" the file is read afresh, only the one
// key is changed and the whole dictionary is written back as XML through a rename, so keys set
// by other processes survive. A file that cannot be read is moved aside before it is replaced.
// Not thread-safe: use one instance per thread.
class PlistUserDefaults : public UserDefaults {
public:
    // `arguments` are the command-line arguments without the program path (argv[1...]); each
    // "-key value" pair enters the argument domain as key → "value".
    PlistUserDefaults(QString preferencesDirectory, QString domainName, QStringList arguments);

    // "~/Library/Preferences", as on macOS.
    static QString standardPreferencesDirectory();

    const QString& filePath() const { return m_path; }

    QVariant object(const QString& key) const override;
    void setObject(const QString& key, const QVariant& value) override;
    void removeObject(const QString& key) override;
    std::optional<QVariantMap> persistentDomain(const QString& domainName) const override;

private:
    enum class FileState { Missing, Readable, Unparsable, Unopenable };
    struct Snapshot {
        FileState state = FileState::Missing;
        FileStamp stamp;
        QVariantMap values;
        QString error;
    };

    static Snapshot readSnapshot(const QString& path);
    void adopt(const Snapshot& snapshot) const;
    void refresh() const;
    void change(const QString& key, const QVariant& value);
    // True when the file already holds `key` as `value` would be written (none: absent), so
    // writing would change nothing.
    static bool alreadyStored(FileState state, const QVariantMap& values, const QString& key,
                              const std::optional<QByteArray>& written);
    bool setAsideUnreadableFile(QString* error) const;

    QString m_directory;
    QString m_path;
    QVariantMap m_arguments;

    // The application domain as last read, and which version of the file it came from.
    mutable QVariantMap m_values;
    mutable FileState m_state = FileState::Missing;
    mutable FileStamp m_stamp;
    mutable qint64 m_readAtNs = 0;
    mutable bool m_loaded = false;
    mutable bool m_reported = false;
    mutable FileStamp m_reportedStamp;
};
