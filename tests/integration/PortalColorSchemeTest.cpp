// The desktop's colour scheme read from a settings portal on a private bus: a stand-in portal of
// the test's own answers in a thread of its own, as the real one answers from its own process.
#include "platform/linux/PortalColorScheme.h"

#include "BusTestCase.h"

#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QThread>

#include <atomic>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearance = QStringLiteral("org.freedesktop.appearance");

class StandInPortal final : public QDBusVirtualObject {
public:
    StandInPortal(uint colorScheme, bool knowsReadOne)
        : m_colorScheme(colorScheme)
        , m_knowsReadOne(knowsReadOne) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != settingsInterface)
            return false;
        const bool readOne = message.member() == QLatin1String("ReadOne");
        if ((readOne && !m_knowsReadOne) || (!readOne && message.member() != QLatin1String("Read"))) {
            connection.send(message.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("no such method")));
            return true;
        }
        const QList<QVariant> arguments = message.arguments();
        if (arguments.size() != 2 || arguments[0] != appearance || arguments[1] != QLatin1String("color-scheme")) {
            connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                                                     QStringLiteral("no such setting")));
            return true;
        }
        QVariant value = QVariant::fromValue(QDBusVariant(QVariant::fromValue(m_colorScheme.load())));
        // The older call wraps the value once more.
        if (!readOne)
            value = QVariant::fromValue(QDBusVariant(value));
        connection.send(message.createReply(value));
        return true;
    }

private:
    std::atomic<uint> m_colorScheme;
    bool m_knowsReadOne;
};

// A portal serving on a connection of its own until the end of the test.
class Portal {
public:
    Portal(QDBusConnection connection, uint colorScheme, bool knowsReadOne = true)
        : m_connection(std::move(connection))
        , m_object(colorScheme, knowsReadOne) {
        m_object.moveToThread(&m_thread);
        m_thread.start();
        m_connection.registerVirtualObject(portalPath, &m_object);
        m_registered = m_connection.registerService(portalService);
    }
    ~Portal() {
        m_connection.unregisterService(portalService);
        m_connection.unregisterObject(portalPath);
        m_thread.quit();
        m_thread.wait();
    }

    bool isRegistered() const { return m_registered; }

    void announce(const QString& group, const QString& key, uint value) {
        QDBusMessage signal =
            QDBusMessage::createSignal(portalPath, settingsInterface, QStringLiteral("SettingChanged"));
        signal << group << key << QVariant::fromValue(QDBusVariant(QVariant::fromValue(value)));
        m_connection.send(signal);
    }

private:
    QDBusConnection m_connection;
    QThread m_thread;
    StandInPortal m_object;
    bool m_registered = false;
};

} // namespace

class PortalColorSchemeTest : public BusTestCase {
    Q_OBJECT

private Q_SLOTS:
    // Without a portal, or without a bus, nothing is stated.
    void withoutPortalNothingIsStated() {
        PortalColorScheme onBus(newConnection());
        QCOMPARE(onBus.appearance(), DesktopAppearance::NoPreference);
        PortalColorScheme withoutBus(QDBusConnection(QStringLiteral("no-such-connection")));
        QCOMPARE(withoutBus.appearance(), DesktopAppearance::NoPreference);
    }

    // The current call and the older one, each with its own wrapping; unknown numbers state nothing.
    void readsTheSettingAtStart_data() {
        QTest::addColumn<bool>("knowsReadOne");
        QTest::addColumn<uint>("setting");
        QTest::addColumn<DesktopAppearance>("expected");
        QTest::newRow("dark") << true << 1u << DesktopAppearance::Dark;
        QTest::newRow("light") << true << 2u << DesktopAppearance::Light;
        QTest::newRow("none") << true << 0u << DesktopAppearance::NoPreference;
        QTest::newRow("unknown") << true << 7u << DesktopAppearance::NoPreference;
        QTest::newRow("older portal, dark") << false << 1u << DesktopAppearance::Dark;
        QTest::newRow("older portal, light") << false << 2u << DesktopAppearance::Light;
    }
    void readsTheSettingAtStart() {
        QFETCH(bool, knowsReadOne);
        QFETCH(uint, setting);
        QFETCH(DesktopAppearance, expected);
        Portal portal(newConnection(), setting, knowsReadOne);
        QVERIFY(portal.isRegistered());
        PortalColorScheme scheme(newConnection());
        QCOMPARE(scheme.appearance(), expected);
    }

    // A change of the setting reaches every observer once; other settings change nothing.
    void followsChangesLive() {
        Portal portal(newConnection(), 2);
        QVERIFY(portal.isRegistered());
        PortalColorScheme scheme(newConnection());
        QCOMPARE(scheme.appearance(), DesktopAppearance::Light);
        int heard = 0;
        scheme.observe([&heard] { ++heard; });

        portal.announce(appearance, QStringLiteral("accent-color"), 1);
        portal.announce(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme"), 1);
        portal.announce(appearance, QStringLiteral("color-scheme"), 1);
        QTRY_COMPARE(scheme.appearance(), DesktopAppearance::Dark);
        QCOMPARE(heard, 1);

        // The same value again is no change.
        portal.announce(appearance, QStringLiteral("color-scheme"), 1);
        portal.announce(appearance, QStringLiteral("color-scheme"), 0);
        QTRY_COMPARE(scheme.appearance(), DesktopAppearance::NoPreference);
        QCOMPARE(heard, 2);
    }
};

QTEST_MAIN(PortalColorSchemeTest)
#include "PortalColorSchemeTest.moc"
