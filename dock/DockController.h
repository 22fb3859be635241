#pragma once

#include "platform/FileEvents.h"

#include <QDBusConnection>
#include <QObject>

#include <memory>

class DistributedNotifications;
class DockFile;
class DockTiles;
class DockWindow;
class Workspace;

// What the Dock does for the user: keeps its tiles in step with its preferences file, opens or
// reopens an application on a click, keeps and removes tiles (telling whoever listens), and asks
// a running application to quit.
class DockController : public QObject {
    Q_OBJECT
public:
    struct Services {
        DockFile& file;
        DockTiles& tiles;
        DockWindow& window;
        Workspace& workspace;
        DistributedNotifications& notifications;
        FileEvents& fileEvents;
        QDBusConnection bus;
    };

    explicit DockController(Services services);

    // Reads the preferences file now and whenever it or the Dock's notification says it changed.
    void start();
    void reload();

    void open(const QString& path);
    void keep(const QString& path);
    void remove(const QString& path);
    void quit(const QString& path);

private:
    void setKept(const QString& path, bool kept);
    void announcePinState(const QString& path, bool pinned);

    Services m_services;
    std::unique_ptr<FileEvents::Watch> m_directoryWatch;
    QString m_lastReadError;
};
