#pragma once

#include "platform/SystemTray.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>

class X11TraySelection;

// The desktop's tray on Linux: a StatusNotifierWatcher on the session bus with a host registered
// (KDE Plasma, GNOME with its extension, most panels), or an XEmbed tray on the X screen.
class LinuxSystemTray final : public SystemTray {
    Q_OBJECT
public:
    static inline const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
    static inline const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");

    // Where trays are looked for. A process that never shows a menu-bar item looks nowhere and
    // sees no tray; a test on a private bus beside a real desktop leaves the X screen out.
    enum Source : unsigned { StatusNotifierHosts = 1u << 0, XEmbedTrays = 1u << 1 };

    explicit LinuxSystemTray(unsigned sources, const QDBusConnection& bus = QDBusConnection::sessionBus(),
                             QObject* parent = nullptr);
    ~LinuxSystemTray() override;

    bool isAvailable() const override { return m_available; }

private Q_SLOTS:
    void hostRegistered();
    void hostUnregistered();

private:
    // Asks the watcher whether a host is registered; at start-up the answer is waited for, so the
    // first presentation is already the right one.
    void askWatcher(bool wait);
    void setHostRegistered(bool registered);
    void update();

    QDBusConnection m_bus;
    QDBusServiceWatcher m_serviceWatcher;
    X11TraySelection* m_xembed = nullptr;
    bool m_hostRegistered = false;
    bool m_available = false;
    unsigned m_question = 0; // the latest question to the watcher; older answers are stale
};
