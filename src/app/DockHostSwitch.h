#pragma once

#include <QString>

#include <functional>

class FolderStore;
class HelperManager;

// Another dock chosen on the General page: the folders in the Dock leave the dock that stood for
// it, and the application starts again, as every part of it takes its dock once, at start; the new
// dock gets them then.
class DockHostSwitch {
public:
    struct Services {
        HelperManager& helpers;
        FolderStore& store;
        // The id (DockHostIds) of the dock standing for the Dock now.
        QString currentId;
        // The id of the dock the setting names now, in this session.
        std::function<QString()> chosenId;
        std::function<void()> restart;
    };

    explicit DockHostSwitch(Services services);

    // Moves the folders and restarts when the setting names another dock than the one in use.
    void settingChanged();

private:
    Services m_services;
};
