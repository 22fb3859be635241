// The Dock and its applications on one private bus: announcing, publishing tile content, a Dock
// that appears after its applications, and applications whose connection ends.
#include "dock/DockService.h"
#include "dock/DockTiles.h"
#include "platform/Protocol.h"
#include "platform/linux/DBusDockTile.h"

#include "BusTestCase.h"
#include "InterfaceDescription.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusReply>
#include <QDBusVariant>
#include <QImage>

namespace {

const QString kApp = QStringLiteral("/Apps/Work.app");

QImage redSquare() {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
}

QDBusMessage callDock(QDBusConnection& bus, const QString& method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(Protocol::Bus::dockService, Protocol::Bus::dockPath,
                                                       Protocol::Bus::dockInterface, method);
    call.setArguments(arguments);
    // The Dock answers from this process's event loop.
    return bus.call(call, QDBus::BlockWithGui, 5000);
}

} // namespace

class DockServiceTest : public BusTestCase {
    Q_OBJECT

    int m_round = 0;

    // A Dock on a connection of its own, as the trellin-dock process has.
    struct Dock {
        DockTiles tiles;
        DockService service;
        explicit Dock(const QDBusConnection& bus)
            : service(tiles,
                      {.tileSize = [] { return 64; },
                       .tiles =
                           [] {
                               return QList<DockTileRecord>{{kApp, "Work", true, false, QRect(1, 2, 3, 4)}};
                           }},
                      bus) {}
        bool running(const QString& path) const {
            const QList<DockItem> items = tiles.items();
            return std::any_of(items.cbegin(), items.cend(),
                               [&](const DockItem& item) { return item.path == path && item.running; });
        }
        QImage content(const QString& path) const {
            for (const DockItem& item : tiles.items()) {
                if (item.path == path)
                    return item.content;
            }
            return {};
        }
    };

    QStringList m_names;
    QString name(const char* role) {
        const QString connection = QStringLiteral("%1-%2").arg(QLatin1String(role)).arg(m_round);
        if (!m_names.contains(connection))
            m_names.append(connection);
        return connection;
    }

private Q_SLOTS:
    void init() { ++m_round; }
    // The next case's Dock must find the name free.
    void cleanup() {
        for (const QString& connection : std::as_const(m_names))
            QDBusConnection::disconnectFromBus(connection);
        m_names.clear();
        QDBusConnection watcher = bus().connect(QStringLiteral("watcher"));
        QTRY_VERIFY(!watcher.interface()->isServiceRegistered(Protocol::Bus::dockService).value());
    }

    void anApplicationStandsInTheDockWhileItsConnectionLasts() {
        Dock dock(bus().connect(name("dock")));
        QVERIFY(dock.service.publish());
        {
            QDBusConnection appBus = bus().connect(name("app"));
            DBusDockTile tile(kApp, appBus);
            QDBusMessage get = QDBusMessage::createMethodCall("app.trellin.Dock", "/app/trellin/Dock",
                                                              "org.freedesktop.DBus.Properties", "Get");
            get << QStringLiteral("app.trellin.Dock") << QStringLiteral("TileSize");
            QDBusPendingCall size = appBus.asyncCall(get);
            QTRY_VERIFY(size.isFinished());
            QCOMPARE(QDBusReply<QDBusVariant>(size.reply()).value().variant().toInt(), 64);
            tile.setShownInDock(true);
            tile.setContent(redSquare());
            QTRY_VERIFY(dock.running(kApp));
            QTRY_COMPARE(dock.content(kApp).pixelColor(3, 3), QColor(Qt::red));

            // The accessory policy takes it out of the Dock, the regular one brings it back.
            tile.setShownInDock(false);
            QTRY_VERIFY(!dock.running(kApp));
            tile.setShownInDock(true);
            QTRY_VERIFY(dock.running(kApp));
        }
        QDBusConnection::disconnectFromBus(name("app"));
        QTRY_VERIFY(!dock.running(kApp));
        QVERIFY(dock.content(kApp).isNull());
    }

    // Applications and scripts go by the names the program shares and by the checked-in document.
    void theDockServesItsDocumentedInterface() {
        Dock dock(bus().connect(name("dock")));
        QVERIFY(dock.service.publish());
        QDBusConnection client = bus().connect(name("client"));
        QVERIFY(client.interface()->isServiceRegistered(Protocol::Bus::dockService).value());
        QDBusPendingCall call = client.asyncCall(QDBusMessage::createMethodCall(
            Protocol::Bus::dockService, Protocol::Bus::dockPath, "org.freedesktop.DBus.Introspectable", "Introspect"));
        QTRY_VERIFY(call.isFinished());
        const QByteArray served = call.reply().arguments().value(0).toString().toUtf8();
        const QByteArray document = documentedInterface("app.trellin.Dock.xml");
        QCOMPARE(describedInterfaces(document), QStringList{Protocol::Bus::dockInterface});
        QCOMPARE(describedInterfaces(served), QStringList{Protocol::Bus::dockInterface});
        QCOMPARE(describedMembers(served), describedMembers(document));
        QCOMPARE(describedMembers(document).size(), 5);
    }

    void applicationsAnnounceThemselvesToADockThatAppearsLater() {
        QDBusConnection appBus = bus().connect(name("app"));
        DBusDockTile tile(kApp, appBus);
        tile.setShownInDock(true);
        tile.setContent(redSquare());
        QCOMPARE(tile.size(), QSize(DBusDockTile::kDefaultSize, DBusDockTile::kDefaultSize));

        Dock dock(bus().connect(name("dock")));
        QVERIFY(dock.service.publish());
        QTRY_VERIFY(dock.running(kApp));
        QTRY_COMPARE(dock.content(kApp).pixelColor(0, 0), QColor(Qt::red));

        // A second Dock cannot take the name from the first.
        Dock second(bus().connect(name("second")));
        QVERIFY(!second.service.publish());
    }

    void callsFromScriptsAndBadInput() {
        Dock dock(bus().connect(name("dock")));
        QVERIFY(dock.service.publish());
        QDBusConnection client = bus().connect(name("client"));

        const QDBusMessage tiles = callDock(client, "Tiles", {});
        QCOMPARE(tiles.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(tiles.signature(), "a(ssbbiiii)");
        const QList<DockTileRecord> records = qdbus_cast<QList<DockTileRecord>>(tiles.arguments().at(0));
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.at(0).geometry, QRect(1, 2, 3, 4));
        QCOMPARE(records.at(0).label, "Work");

        const QDBusMessage notPng = callDock(client, "SetTileContent", {kApp, QByteArray("not a png")});
        QCOMPARE(notPng.errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
        const QDBusMessage relative = callDock(client, "Register", {QStringLiteral("Apps/Work.app")});
        QCOMPARE(relative.errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
        QVERIFY(dock.tiles.items().isEmpty());

        // Paths are standardised, so one application is one tile.
        QCOMPARE(callDock(client, "Register", {QStringLiteral("/Apps/./Work.app/")}).type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(callDock(client, "Register", {kApp}).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(dock.tiles.items().size(), 1);
        QVERIFY(dock.running(kApp));
    }
};

QTEST_GUILESS_MAIN(DockServiceTest)
#include "DockServiceTest.moc"
