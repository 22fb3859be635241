#pragma once

#include "RecordingHelperActions.h"
#include "TestFiles.h"
#include "VirtualClock.h"
#include "model/FolderStore.h"
#include "model/HelperLaunchLog.h"
#include "platform/LocalNotificationCenter.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// A home with a desktop of its own for GIO: its data directories (entries, desktop-directory
// files) and GSettings in a key file under its configuration folder. GIO reads these places once
// per process, so a test makes one before its first GIO call and keeps it; the folder store on it
// can be made anew, as after a restart.
class TestDesktopHome {
public:
    TestDesktopHome() {
        qputenv("XDG_DATA_HOME", path("share").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", path("system").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", path("config").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", path("config-dirs").toLocal8Bit());
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        qputenv("GSETTINGS_BACKEND", "keyfile");
        // GNOME's own schemas, where Debian installs them; the data directories above have none.
        qputenv("GSETTINGS_SCHEMA_DIR", "/usr/share/glib-2.0/schemas");
        qunsetenv("DISPLAY");
        reopenStore();
    }

    QString path(const QString& relative = {}) const {
        return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
    }
    QString applicationSupport() const { return path(QStringLiteral("share")); }
    QString foldersFile() const { return path(QStringLiteral("share/Trellin/folders.json")); }
    QString backupsDirectory() const { return path(QStringLiteral("share/Trellin/Backups")); }

    // An application entry in `folder` ("share", "system") named "<id>.desktop".
    void writeEntry(const QString& folder, const QString& id, const QByteArray& keys) const {
        QVERIFY(writeFile(path(folder + QStringLiteral("/applications/") + id + QStringLiteral(".desktop")),
                          "[Desktop Entry]\nType=Application\nExec=/bin/true\n" + keys + "\n"));
    }

    // A new store on the home's folders file, loaded.
    void reopenStore() {
        store.reset();
        launchLog = std::make_unique<HelperLaunchLog>(clock);
        store = std::make_unique<FolderStore>(applicationSupport(), FolderStore::Services{
                                                                        .clock = clock,
                                                                        .scheduler = clock,
                                                                        .notifications = notifications,
                                                                        .helpers = helpers,
                                                                        .launchLog = *launchLog,
                                                                        .isHelperProcess = [] { return false; },
                                                                    });
        store->load();
    }

    QTemporaryDir m_dir;
    VirtualClock clock;
    LocalNotificationCenter notifications;
    RecordingHelperActions helpers;
    std::unique_ptr<HelperLaunchLog> launchLog;
    std::unique_ptr<FolderStore> store;
};
