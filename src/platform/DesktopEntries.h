#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The applications of a freedesktop desktop: desktop entries, found and read by the freedesktop
// Desktop Entry rules.
class DesktopEntries {
public:
    struct Entry {
        QString id;                  // the desktop file id without ".desktop" ("org.gnome.Calculator")
        QString path;                // the entry file's absolute path
        QString name;                // Name, in the language asked for when the entry has it
        QStringList categories = {}; // Categories, as the entry lists them ("Utility", "TextEditor")
    };

    virtual ~DesktopEntries() = default;

    // Whether `path` names a desktop entry rather than a bundle.
    static bool isEntryPath(const QString& path) { return path.endsWith(QLatin1String(".desktop")); }

    // Every entry the desktop would show, in precedence order ($XDG_DATA_HOME, then each of
    // $XDG_DATA_DIRS); an id that an earlier directory shadows appears once. `language` is an
    // interface language code ("uk") for the names.
    virtual QList<Entry> installed(const QString& language) const = 0;
    // The application entry in the file at `path`, installed or not, with its id taken from the
    // file name; none when the file is no entry of an application. A backend that cannot read
    // files of its own knows only the installed ones.
    virtual std::optional<Entry> entryAt(const QString& path, const QString& language) const {
        for (Entry& entry : installed(language)) {
            if (entry.path == path)
                return std::move(entry);
        }
        return std::nullopt;
    }
    // The Name, in `language`, of the desktop-directory file `fileName` ("Utilities.directory")
    // found in the data directories' "desktop-directories"; empty when there is none. Desktops
    // without such files have no names to give.
    virtual QString directoryName(const QString& fileName, const QString& language) const {
        Q_UNUSED(fileName);
        Q_UNUSED(language);
        return {};
    }
    // The entry's Icon key: an icon theme name or an absolute file path; empty when the entry
    // has none or cannot be read.
    virtual QString iconOf(const QString& path) const = 0;
    // Starts the entry's application with `uris` for its field codes: none on success, else what
    // went wrong.
    virtual std::optional<QString> launch(const QString& path, const QStringList& uris) const = 0;
};
