#include "PortalColorScheme.h"

#include <QDBusMessage>
#include <QDBusVariant>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

// A start-up read; a portal still being started by the bus may take a moment, but a missing
// one answers at once.
constexpr int readTimeoutMs = 1000;

// Older portals answer Read with the value wrapped twice.
QVariant unwrapped(QVariant value) {
    for (int depth = 0; depth < 4 && value.userType() == qMetaTypeId<QDBusVariant>(); ++depth)
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

PortalColorScheme::PortalColorScheme(const QDBusConnection& connection, QObject* parent)
    : QObject(parent)
    , m_connection(connection) {
    if (!m_connection.isConnected())
        return;
    m_connection.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                         SLOT(settingChanged(QString, QString, QDBusVariant)));
    read();
}

void PortalColorScheme::observe(std::function<void()> handler) {
    m_handlers.push_back(std::move(handler));
}

DesktopAppearance PortalColorScheme::fromSetting(const QVariant& value) {
    bool ok = false;
    const uint number = unwrapped(value).toUInt(&ok);
    if (!ok)
        return DesktopAppearance::NoPreference;
    switch (number) {
    case 1:
        return DesktopAppearance::Dark;
    case 2:
        return DesktopAppearance::Light;
    default:
        return DesktopAppearance::NoPreference;
    }
}

void PortalColorScheme::read() {
    // ReadOne is the current call; portals before version 2 know only Read.
    for (const QString& method : {QStringLiteral("ReadOne"), QStringLiteral("Read")}) {
        QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface, method);
        call << appearanceGroup << colorSchemeKey;
        const QDBusMessage reply = m_connection.call(call, QDBus::Block, readTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            take(fromSetting(reply.arguments().constFirst()));
            return;
        }
        // Only an unknown method is worth a second try; no portal, or no such setting, is final.
        if (reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.UnknownMethod"))
            return;
    }
}

void PortalColorScheme::settingChanged(const QString& group, const QString& key, const QDBusVariant& value) {
    if (group == appearanceGroup && key == colorSchemeKey)
        take(fromSetting(value.variant()));
}

void PortalColorScheme::take(DesktopAppearance appearance) {
    if (appearance == m_appearance)
        return;
    m_appearance = appearance;
    for (const auto& handler : m_handlers)
        handler();
}
