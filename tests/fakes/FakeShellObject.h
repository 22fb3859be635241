#pragma once

#include "OwnThread.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QHash>
#include <QMutex>
#include <QTimer>

// An object exported on GNOME Shell's connection (Trellin's extension's, or the shell's own): each
// method answers what the test set (any values, of any types, so a test can answer wrongly), or an error
// for a method given no answer, after an optional delay. It answers from a thread of its own, as
// the shell would, so that a caller blocked on a call does not block it.
class FakeShellObject : public QDBusVirtualObject {
    Q_OBJECT
public:
    FakeShellObject(QDBusConnection connection, QString path)
        : m_connection(std::move(connection))
        , m_path(std::move(path)) {}
    ~FakeShellObject() override { stop(); }

    bool start() {
        bool started = false;
        QMetaObject::invokeMethod(
            this, [this, &started] { started = m_connection.registerVirtualObject(m_path, this); },
            Qt::BlockingQueuedConnection);
        return started;
    }
    // The extension is switched off: the shell answers that the object is unknown.
    void stop() {
        QMetaObject::invokeMethod(
            this, [this] { m_connection.unregisterObject(m_path); }, Qt::BlockingQueuedConnection);
    }

    void answer(const QString& method, const QVariantList& values) {
        const QMutexLocker lock(&m_mutex);
        m_answers.insert(method, values);
    }
    void setDelay(unsigned long milliseconds) {
        const QMutexLocker lock(&m_mutex);
        m_delay = milliseconds;
    }
    // The arguments of every call, in order.
    QList<QVariantList> calls(const QString& method) const {
        const QMutexLocker lock(&m_mutex);
        return m_calls.value(method);
    }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        std::optional<QVariantList> values;
        unsigned long delay = 0;
        {
            const QMutexLocker lock(&m_mutex);
            m_calls[message.member()].append(message.arguments());
            if (m_answers.contains(message.member()))
                values = m_answers.value(message.member());
            delay = m_delay;
        }
        // Answered later from this object's own thread: QtDBus may call this on its own, which
        // must not wait.
        message.setDelayedReply(true);
        const QDBusMessage reply = values ? message.createReply(*values)
                                          : message.createErrorReply(QDBusError::UnknownMethod, message.member());
        QMetaObject::invokeMethod(
            this,
            [this, delay, reply, connection] {
                QTimer::singleShot(int(delay), this, [reply, connection] { QDBusConnection(connection).send(reply); });
            },
            Qt::QueuedConnection);
        return true;
    }

private:
    QDBusConnection m_connection;
    QString m_path;
    mutable QMutex m_mutex;
    QHash<QString, QVariantList> m_answers;
    QHash<QString, QList<QVariantList>> m_calls;
    unsigned long m_delay = 0;
    OwnThread m_thread{this};
};
