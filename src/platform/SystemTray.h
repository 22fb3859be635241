#pragma once

#include <QObject>

// The desktop's tray, where a status item (the menu-bar extra) can show: whether one is there now.
// Desktops start and stop their trays (a panel restarts, a session runs without one), so the
// answer changes while the application runs.
class SystemTray : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SystemTray() override;

    virtual bool isAvailable() const = 0;

Q_SIGNALS:
    // From the event loop, each time `isAvailable` turned.
    void availabilityChanged();
};
