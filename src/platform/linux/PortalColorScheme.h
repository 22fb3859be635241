#pragma once

#include "platform/DesktopColorScheme.h"

#include <QDBusConnection>
#include <QObject>

#include <vector>

class QDBusVariant;

// The freedesktop appearance setting ("color-scheme" in the "org.freedesktop.appearance"
// namespace) read through the settings portal, and followed through its change signal.
class PortalColorScheme : public QObject, public DesktopColorScheme {
    Q_OBJECT
public:
    explicit PortalColorScheme(const QDBusConnection& connection = QDBusConnection::sessionBus(),
                               QObject* parent = nullptr);

    DesktopAppearance appearance() const override { return m_appearance; }
    void observe(std::function<void()> handler) override;

    // The setting's number as the portal documents it: 1 dark, 2 light, anything else no preference.
    static DesktopAppearance fromSetting(const QVariant& value);

private Q_SLOTS:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void read();
    void take(DesktopAppearance appearance);

    QDBusConnection m_connection;
    // Without a portal (or a bus) nothing is stated, which reads as light.
    DesktopAppearance m_appearance = DesktopAppearance::NoPreference;
    std::vector<std::function<void()>> m_handlers;
};
