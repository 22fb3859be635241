#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QPoint>

#include <optional>

class QEventLoop;

// Where KWin says the pointer is. A Wayland client is told no global pointer position, and the
// X pointer Xwayland shows is stale over the shell's own panels; KWin knows it. A small KWin
// script is loaded and run for each question; it calls back on the session bus with the position,
// which is waited for (the event loop runs meanwhile) for no longer than the timeout, and the
// script is unloaded again.
class KWinCursor final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.trellin.KWinCursor")
public:
    explicit KWinCursor(QDBusConnection bus, int timeoutMilliseconds = 500, QObject* parent = nullptr);
    ~KWinCursor() override;

    // None when KWin does not run, refuses the script, or does not answer in time; also while
    // another question is still waiting (it would be answered for an older click).
    std::optional<QPoint> position();

public Q_SLOTS:
    // KWin's script answers here: {token, x, y} as JSON, so that how KWin types its numbers does
    // not matter. Answers from anyone else, or for another question, are ignored.
    void Report(const QString& answer);

private:
    bool registerReport();
    std::optional<int> loadScript(const QString& file, const QString& pluginName);

    QDBusConnection m_bus;
    // Of this object alone, so that two in one process do not take each other's answers.
    QString m_path;
    int m_timeout;
    bool m_registered = false;
    QEventLoop* m_waiting = nullptr;
    QString m_token;
    QString m_kwinOwner;
    std::optional<QPoint> m_answer;
};
