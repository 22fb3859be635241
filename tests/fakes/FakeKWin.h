#pragma once

#include "OwnThread.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QJSEngine>
#include <QMutex>
#include <QObject>
#include <QPoint>

#include <functional>

// The object of a script KWin loaded: run() runs it; callDBus is what the script calls out with.
class FakeKWinScript : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Script")
public:
    FakeKWinScript(std::function<void()> run, std::function<void(QDBusMessage)> send, QObject* parent)
        : QObject(parent)
        , m_run(std::move(run))
        , m_send(std::move(send)) {}
public Q_SLOTS:
    void run() { m_run(); }

public:
    Q_INVOKABLE void callDBus(const QString& service, const QString& path, const QString& interface,
                              const QString& method, const QString& argument) {
        QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
        call << argument;
        m_send(call);
    }

private:
    std::function<void()> m_run;
    std::function<void(QDBusMessage)> m_send;
};

// KWin's scripting interface as KWin 5.27 answers it (checked with qdbus): loadScript(file, name)
// answers the script's number (-1 for a name already loaded), the script's object "/<number>" has
// run(), and unloadScript(name) takes it away. A script runs in a JavaScript engine with
// workspace.cursorPos and callDBus, which calls out from KWin's own connection. It answers from a
// thread of its own, as another process would.
class FakeKWin : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Scripting")
public:
    // Silent: scripts run but call nobody, as when KWin's bus calls fail.
    enum class Mode { Runs, Silent };

    explicit FakeKWin(QDBusConnection connection)
        : m_connection(std::move(connection))
        , m_script(new FakeKWinScript([this] { runScript(); },
                                      [this](const QDBusMessage& call) { m_connection.send(call); }, this)) {}
    ~FakeKWin() override { stop(); }

    bool start() {
        bool started = false;
        QMetaObject::invokeMethod(
            this,
            [this, &started] {
                started =
                    m_connection.registerObject(QStringLiteral("/Scripting"), this, QDBusConnection::ExportAllSlots) &&
                    m_connection.registerService(QStringLiteral("org.kde.KWin"));
            },
            Qt::BlockingQueuedConnection);
        return started;
    }
    void stop() {
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_connection.unregisterService(QStringLiteral("org.kde.KWin"));
                m_connection.unregisterObject(QStringLiteral("/Scripting"));
                if (!m_loaded.isEmpty())
                    m_connection.unregisterObject(QStringLiteral("/0"));
                m_loaded.clear();
            },
            Qt::BlockingQueuedConnection);
    }

    void setCursor(QPoint cursor) {
        const QMutexLocker lock(&m_mutex);
        m_cursor = cursor;
    }
    void setMode(Mode mode) {
        const QMutexLocker lock(&m_mutex);
        m_mode = mode;
    }
    // Scripts loaded and not unloaded, and scripts that ran.
    QString loaded() const {
        const QMutexLocker lock(&m_mutex);
        return m_loaded;
    }
    int runs() const {
        const QMutexLocker lock(&m_mutex);
        return m_runs;
    }
    // Scripts that threw or did not parse.
    int scriptErrors() const {
        const QMutexLocker lock(&m_mutex);
        return m_scriptErrors;
    }

public Q_SLOTS:
    // One script at a time is enough for one caller: it is always number 0.
    int loadScript(const QString& file, const QString& pluginName) {
        const QMutexLocker lock(&m_mutex);
        if (!m_loaded.isEmpty())
            return -1;
        QFile source(file);
        if (!source.open(QIODevice::ReadOnly))
            return -1;
        m_source = QString::fromUtf8(source.readAll());
        m_loaded = pluginName;
        m_connection.registerObject(QStringLiteral("/0"), m_script, QDBusConnection::ExportAllSlots);
        return 0;
    }
    bool unloadScript(const QString& pluginName) {
        const QMutexLocker lock(&m_mutex);
        if (pluginName != m_loaded)
            return false;
        m_connection.unregisterObject(QStringLiteral("/0"));
        m_loaded.clear();
        return true;
    }

private:
    void runScript() {
        QString source;
        QPoint cursor;
        {
            const QMutexLocker lock(&m_mutex);
            ++m_runs;
            if (m_mode == Mode::Silent || m_loaded.isEmpty())
                return;
            source = m_source;
            cursor = m_cursor;
        }
        QJSEngine engine;
        QJSValue workspace = engine.newObject();
        QJSValue position = engine.newObject();
        position.setProperty(QStringLiteral("x"), cursor.x());
        position.setProperty(QStringLiteral("y"), cursor.y());
        workspace.setProperty(QStringLiteral("cursorPos"), position);
        engine.globalObject().setProperty(QStringLiteral("workspace"), workspace);
        engine.globalObject().setProperty(QStringLiteral("__kwin"), engine.newQObject(m_script));
        QJSEngine::setObjectOwnership(m_script, QJSEngine::CppOwnership);
        engine.evaluate(QStringLiteral("function callDBus(service, path, iface, method, argument) {"
                                       "  __kwin.callDBus(service, path, iface, method, String(argument)); }"));
        if (engine.evaluate(source).isError()) {
            const QMutexLocker lock(&m_mutex);
            ++m_scriptErrors;
        }
    }

    QDBusConnection m_connection;
    mutable QMutex m_mutex;
    FakeKWinScript* m_script;
    QString m_loaded;
    QString m_source;
    QPoint m_cursor;
    Mode m_mode = Mode::Runs;
    int m_runs = 0;
    int m_scriptErrors = 0;
    OwnThread m_thread{this};
};
