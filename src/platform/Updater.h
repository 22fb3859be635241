#pragma once

// The software updater of the main application.
class Updater {
public:
    virtual ~Updater() = default;
    virtual void start() = 0;
};
