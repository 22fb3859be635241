#pragma once

#include "OwnThread.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QJSEngine>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QObject>
#include <QStringList>

// KDE Plasma's shell as its scripting interface answers (checked against plasmashell 5.27 with
// gdbus): evaluateScript runs the script in a JavaScript engine against the shell's panels and
// hands back what it printed, the prints joined without breaks; a script that throws or does not
// parse is answered with an error. Of the scripting API it has what a task manager's launchers
// need: panels() with id, screen, location, height (the thickness) and widgets(); a widget's id,
// type, currentConfigGroup, readConfig (a list with a list default, else one comma-separated
// text) and writeConfig; screenGeometry(). It answers from a thread of its own, as another
// process would.
class FakePlasmaShell : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")
public:
    struct Widget {
        int id = 0;
        QString type;
        QStringList launchers;
    };
    struct Panel {
        int id = 0;
        int screen = 0;
        QString location = QStringLiteral("bottom");
        int height = 44;
        QList<Widget> widgets;
    };
    // How it answers, for the faults a real shell may show.
    enum class Mode { Runs, PrintsGarbage, PrintsNothing, Fails, Hangs };

    explicit FakePlasmaShell(QDBusConnection connection)
        : m_connection(std::move(connection)) {}
    ~FakePlasmaShell() override { stop(); }

    bool start() {
        bool started = false;
        QMetaObject::invokeMethod(
            this,
            [this, &started] {
                started = m_connection.registerObject(QStringLiteral("/PlasmaShell"), this,
                                                      QDBusConnection::ExportAllSlots) &&
                          m_connection.registerService(QStringLiteral("org.kde.plasmashell"));
            },
            Qt::BlockingQueuedConnection);
        return started;
    }
    void stop() {
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_connection.unregisterService(QStringLiteral("org.kde.plasmashell"));
                m_connection.unregisterObject(QStringLiteral("/PlasmaShell"));
            },
            Qt::BlockingQueuedConnection);
    }

    void setPanels(const QList<Panel>& panels) {
        const QMutexLocker lock(&m_mutex);
        m_panels = panels;
    }
    QList<Panel> panels() const {
        const QMutexLocker lock(&m_mutex);
        return m_panels;
    }
    // The launchers of the widget of that id, wherever it is.
    QStringList launchers(int widget) const {
        const QMutexLocker lock(&m_mutex);
        for (const Panel& panel : m_panels)
            for (const Widget& w : panel.widgets)
                if (w.id == widget)
                    return w.launchers;
        return {};
    }
    void setMode(Mode mode) {
        const QMutexLocker lock(&m_mutex);
        m_mode = mode;
    }
    // Scripts run, and how many of them wrote a launcher list.
    int scripts() const {
        const QMutexLocker lock(&m_mutex);
        return m_scripts;
    }
    int writes() const {
        const QMutexLocker lock(&m_mutex);
        return m_writes;
    }

public Q_SLOTS:
    QString evaluateScript(const QString& script) {
        QMutexLocker lock(&m_mutex);
        ++m_scripts;
        switch (m_mode) {
        case Mode::Runs:
            break;
        case Mode::PrintsGarbage:
            return QStringLiteral("[{\"id\": 1, \"taskManagers\": [");
        case Mode::PrintsNothing:
            return QString();
        case Mode::Fails:
            sendErrorReply(QDBusError::Failed, QStringLiteral("Error: Widgets are locked"));
            return QString();
        case Mode::Hangs:
            lock.unlock();
            QThread::msleep(700);
            return QString();
        }
        QJSEngine engine;
        engine.globalObject().setProperty(QStringLiteral("__stateText"),
                                          QString::fromUtf8(QJsonDocument(stateJson()).toJson(QJsonDocument::Compact)));
        const QJSValue prelude = engine.evaluate(QString::fromLatin1(kPrelude));
        Q_ASSERT(!prelude.isError());
        const QJSValue result = engine.evaluate(script);
        if (result.isError()) {
            sendErrorReply(QDBusError::Failed, QStringLiteral("Error: %1").arg(result.toString()));
            return QString();
        }
        const QJsonArray panels =
            QJsonDocument::fromJson(engine.evaluate(QStringLiteral("JSON.stringify(__state)")).toString().toUtf8())
                .array();
        for (qsizetype i = 0; i < panels.size() && i < m_panels.size(); ++i) {
            const QJsonArray widgets = panels[i].toObject().value(QStringLiteral("widgets")).toArray();
            for (qsizetype j = 0; j < widgets.size() && j < m_panels[i].widgets.size(); ++j) {
                QStringList launchers;
                for (const QJsonValue& launcher : widgets[j].toObject().value(QStringLiteral("launchers")).toArray())
                    launchers << launcher.toString();
                if (launchers != m_panels[i].widgets[j].launchers) {
                    m_panels[i].widgets[j].launchers = launchers;
                    ++m_writes;
                }
            }
        }
        return engine.globalObject().property(QStringLiteral("__printed")).toString();
    }

private:
    QJsonArray stateJson() const {
        QJsonArray panels;
        for (const Panel& panel : m_panels) {
            QJsonArray widgets;
            for (const Widget& widget : panel.widgets)
                widgets.append(
                    QJsonObject{{QStringLiteral("id"), widget.id},
                                {QStringLiteral("type"), widget.type},
                                {QStringLiteral("launchers"), QJsonArray::fromStringList(widget.launchers)}});
            panels.append(QJsonObject{{QStringLiteral("id"), panel.id},
                                      {QStringLiteral("screen"), panel.screen},
                                      {QStringLiteral("location"), panel.location},
                                      {QStringLiteral("height"), panel.height},
                                      {QStringLiteral("widgets"), widgets}});
        }
        return panels;
    }

    // The scripting API over __state; a widget's launchers live in its "General" group.
    static constexpr const char* kPrelude = R"JS(
var __state = JSON.parse(__stateText);
var __printed = '';
function print(text) { __printed += String(text); }
function screenGeometry(screen) {
    return screen == 1 ? {x: 1280, y: 0, width: 1024, height: 768} : {x: 0, y: 0, width: 1280, height: 800};
}
function __widget(state) {
    return {
        id: state.id, type: state.type, currentConfigGroup: [],
        readConfig: function(key, fallback) {
            if (this.currentConfigGroup.join('/') != 'General' || key != 'launchers')
                return fallback;
            return Array.isArray(fallback) ? state.launchers.slice() : state.launchers.join(',');
        },
        writeConfig: function(key, value) {
            if (this.currentConfigGroup.join('/') != 'General' || key != 'launchers')
                return;
            state.launchers = typeof value == 'string' ? (value ? value.split(',') : []) : value.map(String);
        }
    };
}
function panels() {
    return __state.map(function(state) {
        return {
            id: state.id, screen: state.screen, location: state.location, height: state.height, hiding: 'none',
            widgets: function(type) {
                return state.widgets.filter(function(w) { return !type || w.type == type; }).map(__widget);
            }
        };
    });
}
)JS";

    QDBusConnection m_connection;
    mutable QMutex m_mutex;
    QList<Panel> m_panels;
    Mode m_mode = Mode::Runs;
    int m_scripts = 0;
    int m_writes = 0;
    OwnThread m_thread{this};
};
