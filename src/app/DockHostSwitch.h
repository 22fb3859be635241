#pragma once

#include <QImage>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

class DockHost;
class FolderLaunchers;
class FolderStore;
class HelperManager;
class Scheduler;
struct AppFolder;

// Another dock chosen on the General page: the folders in the Dock leave the dock that stood for
// it and are kept in the new one, then the application starts again, as every part of it takes
// its dock once, at start.
class DockHostSwitch {
public:
    struct Services {
        HelperManager& helpers;
        FolderStore& store;
        Scheduler& scheduler;
        FolderLaunchers& launchers;
        // The dock standing for the Dock now; none for the Linux Dock.
        const DockHost* current;
        // The dock the setting names now; none for the Linux Dock.
        std::function<std::unique_ptr<DockHost>()> chosen;
        std::function<QImage(const AppFolder&)> picture;
        std::function<void()> restart;
    };

    explicit DockHostSwitch(Services services);

    // Moves the folders and restarts when the setting names another dock than the one in use.
    void settingChanged();

private:
    Services m_services;
};
