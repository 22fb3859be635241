#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantList>

// The running main application on the session bus, started without its window when none runs.
class RunningTrellin {
public:
    // How long a start may take until the application answers, and a call until its reply.
    static constexpr int startTimeoutMs = 30000;
    static constexpr int callTimeoutMs = 30000;
    // One started by someone else may still be reading its folders.
    static constexpr int settlingTimeoutMs = 5000;
    static constexpr int longCallTimeoutMs = 120000;

    RunningTrellin(const QDBusConnection& bus, QString serviceName, QString executable);

    // The reply, or an error message whose text is one line for the user.
    QDBusMessage call(const QString& method, const QVariantList& arguments, int timeoutMs);

private:
    // Empty on success, else what went wrong.
    QString ensureRunning();
    QDBusMessage send(const QString& method, const QVariantList& arguments, int timeoutMs);

    QDBusConnection m_bus;
    QString m_serviceName;
    QString m_executable;
    bool m_started = false;
};
