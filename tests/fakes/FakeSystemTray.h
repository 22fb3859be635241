#pragma once

#include "platform/SystemTray.h"

// A tray the test puts up and takes down.
class FakeSystemTray final : public SystemTray {
public:
    explicit FakeSystemTray(bool available = false)
        : m_available(available) {}

    bool isAvailable() const override { return m_available; }
    void setAvailable(bool available) {
        if (m_available == available)
            return;
        m_available = available;
        Q_EMIT availabilityChanged();
    }

private:
    bool m_available;
};
