#pragma once

#include "platform/LocalNotificationCenter.h"
#include "platform/linux/DBusDistributedNotifications.h"
#include "platform/linux/MainQueueScheduler.h"
#include "platform/linux/PlistUserDefaults.h"
#include "platform/linux/XdgAutostartLoginItem.h"
#include "settings/AppSettings.h"
#include "settings/Localization.h"

#include <QTemporaryDir>

// A process benchmark's world: a temporary home (HOME points at it), the defaults, notification
// centres and settings of a program living there, and the bundle's string tables. Build it before
// the QApplication, so the toolkit sees the home.
struct BenchHome {
    BenchHome() { qputenv("HOME", home.path().toUtf8()); }

    // What needs the application object; call once it exists.
    void start() {
        defaults = std::make_unique<PlistUserDefaults>(home.filePath(QStringLiteral("Library/Preferences")),
                                                       QStringLiteral("bench.Trellin"), QStringList());
        distributed = std::make_unique<DBusDistributedNotifications>();
        settings = std::make_unique<AppSettings>(AppSettings::Services{
            .scheduler = scheduler,
            .defaults = *defaults,
            .notifications = local,
            .distributedNotifications = *distributed,
            .loginItem = loginItem,
            .bundleIdentifier = QStringLiteral("bench.Trellin"),
            .homeDirectory = home.path(),
            .foldersFilePath = home.filePath(QStringLiteral("folders.json")),
        });
        localization = std::make_unique<Localization>(QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/Resources"),
                                                      [this] { return settings->language(); });
    }

    QTemporaryDir home;
    LocalNotificationCenter local;
    MainQueueScheduler scheduler;
    XdgAutostartLoginItem loginItem{home.filePath(QStringLiteral("autostart")), QStringLiteral("bench.Trellin"),
                                    QStringLiteral("Bench"), QStringLiteral("/bin/true")};
    std::unique_ptr<PlistUserDefaults> defaults;
    std::unique_ptr<DBusDistributedNotifications> distributed;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<Localization> localization;
};
