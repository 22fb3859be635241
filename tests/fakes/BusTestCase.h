#pragma once

#include "PrivateBus.h"

#include <QObject>
#include <QTest>

#include <memory>

// Integration tests whose cases talk over one private session bus, started for the test case.
class BusTestCase : public QObject {
    Q_OBJECT
protected:
    QDBusConnection newConnection() { return m_bus->newConnection(); }
    PrivateBus& bus() { return *m_bus; }

private Q_SLOTS:
    void initTestCase() {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->start(), "dbus-daemon did not start");
    }
    void cleanupTestCase() { m_bus.reset(); }

private:
    std::unique_ptr<PrivateBus> m_bus;
};
