#pragma once

// The software updater of the main application.
class Updater {
public:
    virtual ~Updater() = default;
    // Starts the updater once, at launch; its own check then stays silent unless it finds an update.
    virtual void start() = 0;
    // A check the user asked for: its outcome is always shown.
    virtual void checkForUpdates() = 0;
};
