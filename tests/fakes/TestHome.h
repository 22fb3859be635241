#pragma once

#include "ConsoleCapture.h"
#include "FakeDistributedNotifications.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/linux/PlistUserDefaults.h"
#include "platform/linux/XdgAutostartLoginItem.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

#include <memory>

// The world of one test process: a home folder of its own, laid out as the program lays out a
// home, with the process's defaults, notification centres, login item and console in it.
class TestHome {
public:
    static inline const QString bundleIdentifier = QStringLiteral("app.trellin.Trellin");

    TestHome();

    QString path(const QString& relative = {}) const;
    // "<home>/share", the Application Support folder.
    QString applicationSupport() const { return path(QStringLiteral("share")); }
    QString foldersFile() const { return path(QStringLiteral("share/Trellin/folders.json")); }

    // The defaults as a process started with these arguments (without the program) sees them.
    void relaunch(const QStringList& arguments);
    // An application bundle at `relative` with this Info.plist and an executable "Trellin";
    // returns its path.
    QString makeBundle(const QString& relative, const QVariantMap& info) const;
    // From now on, the names of these process-local notifications are kept in `localPosts`.
    void recordLocal(const QStringList& names);

    QTemporaryDir directory;
    std::unique_ptr<PlistUserDefaults> defaults;
    LocalNotificationCenter localNotifications;
    FakeDistributedNotifications distributedNotifications;
    XdgAutostartLoginItem loginItem;
    ConsoleCapture console;
    QStringList localPosts;
};
