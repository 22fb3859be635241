#pragma once

#include "OwnThread.h"

#include <QDBusConnection>
#include <QMutex>
#include <QObject>
#include <QStringList>

// Plank's D-Bus interface for items as Plank 0.11 answers it (checked against the real one with
// gdbus introspect): Add of a URI already there is refused, GetHoverPosition gives (x, y, edge,
// found). Registered as Plank on the given connection until withdrawn. It answers from a thread of
// its own, as another process would, so that a caller blocked on a call does not block it.
class FakePlank : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "net.launchpad.plank.Items")
public:
    explicit FakePlank(QDBusConnection connection)
        : m_connection(std::move(connection)) {}
    ~FakePlank() override { stop(); }

    // Registered from its own thread, where QtDBus puts what relays its signals.
    bool start() {
        bool started = false;
        QMetaObject::invokeMethod(
            this,
            [this, &started] {
                started =
                    m_connection.registerObject(QStringLiteral("/net/launchpad/plank/dock1"), this,
                                                QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) &&
                    m_connection.registerService(QStringLiteral("net.launchpad.plank"));
            },
            Qt::BlockingQueuedConnection);
        return started;
    }
    // Plank quits: its name leaves the bus.
    void stop() {
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_connection.unregisterService(QStringLiteral("net.launchpad.plank"));
                m_connection.unregisterObject(QStringLiteral("/net/launchpad/plank/dock1"));
            },
            Qt::BlockingQueuedConnection);
    }

    QStringList items() const {
        const QMutexLocker lock(&m_mutex);
        return m_items;
    }
    int adds() const {
        const QMutexLocker lock(&m_mutex);
        return m_adds;
    }
    // GtkPositionType: 0 left, 1 right, 2 top, 3 bottom.
    void setEdge(int edge) {
        const QMutexLocker lock(&m_mutex);
        m_edge = edge;
    }
    // The user pins or unpins in the dock itself: the change is announced.
    void userChanged(const QStringList& items) {
        {
            const QMutexLocker lock(&m_mutex);
            m_items = items;
        }
        QMetaObject::invokeMethod(
            this, [this] { Q_EMIT Changed(); }, Qt::BlockingQueuedConnection);
    }

public Q_SLOTS:
    bool Add(const QString& uri) {
        {
            const QMutexLocker lock(&m_mutex);
            ++m_adds;
            if (m_items.contains(uri))
                return false;
            m_items << uri;
        }
        Q_EMIT Changed();
        return true;
    }
    bool Remove(const QString& uri) {
        {
            const QMutexLocker lock(&m_mutex);
            if (!m_items.removeOne(uri))
                return false;
        }
        Q_EMIT Changed();
        return true;
    }
    QStringList GetPersistentApplications() { return items(); }
    // The point just off the tile: tiles are 56 pixels apart from x = 400, the dock at y = 744.
    void GetHoverPosition(const QString& uri, int& x, int& y, int& dock_position, bool& result) {
        const QMutexLocker lock(&m_mutex);
        const qsizetype index = m_items.indexOf(uri);
        result = index >= 0;
        x = result ? 400 + 56 * int(index) : 0;
        y = result ? 744 : 0;
        dock_position = m_edge;
    }

Q_SIGNALS:
    void Changed();

private:
    QDBusConnection m_connection;
    mutable QMutex m_mutex;
    QStringList m_items;
    int m_adds = 0;
    int m_edge = 3;
    OwnThread m_thread{this};
};
