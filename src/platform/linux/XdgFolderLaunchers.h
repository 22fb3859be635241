#pragma once

#include "platform/FolderLaunchers.h"

// Launchers as desktop entries in the user's applications folder, each naming its picture by an
// absolute path in a folder of Trellin's own. Docks keep a picture by its path for as long as they
// run, so a picture's file name comes from its content: a changed tile gets a new name, the entry
// is rewritten to name it, and only then are the entry's earlier pictures deleted.
class XdgFolderLaunchers final : public FolderLaunchers {
public:
    XdgFolderLaunchers(QString entriesDirectory, QString picturesDirectory);

    // $XDG_DATA_HOME/applications, else ~/.local/share/applications.
    static QString standardEntriesDirectory();

    const QString& entriesDirectory() const { return m_entriesDirectory; }
    QString entryPath(const QString& entryId) const;

    std::optional<QString> write(const QUuid& folder, const Launcher& launcher) override;
    bool exists(const QUuid& folder) const override;
    std::optional<QString> remove(const QUuid& folder) override;
    std::optional<QString> ensureMainEntry(const Launcher& launcher) override;

private:
    // Writes the entry `entryId` with its picture named "<stem>-<content hash>.png".
    std::optional<QString> publish(const QString& entryId, const QString& stem, const Launcher& launcher);
    // The pictures of `stem` in the pictures folder, by file name.
    QStringList picturesOf(const QString& stem) const;
    // Deletes the pictures of `stem` other than `keep`.
    bool deletePictures(const QString& stem, const QString& keep) const;
    // None when the pictures folder is a real folder of its own (made when missing).
    std::optional<QString> preparePicturesDirectory() const;

    QString m_entriesDirectory;
    QString m_picturesDirectory;
};
