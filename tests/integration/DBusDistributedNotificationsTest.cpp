#include "platform/linux/DBusDistributedNotifications.h"
#include "platform/Protocol.h"

#include "BusTestCase.h"
#include "ConsoleCapture.h"
#include "InterfaceDescription.h"
#include "TestFiles.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

// The bus handles one connection's messages in order, so once a call made after observe()
// returns, the match rule is in place for posts from other connections.
void settle(const QDBusConnection& connection) {
    QDBusConnection(connection)
        .call(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                             "org.freedesktop.DBus.Peer", "Ping"));
}

QDBusMessage signalMessage() {
    return QDBusMessage::createSignal("/app/trellin/DistributedNotifications", "app.trellin.DistributedNotifications",
                                      "Notification");
}

class RawRecorder : public QObject {
    Q_OBJECT
public:
    QList<QDBusMessage> messages;
public Q_SLOTS:
    void record(const QDBusMessage& message) { messages << message; }
};

} // namespace

class DBusDistributedNotificationsTest : public BusTestCase {
    Q_OBJECT

private Q_SLOTS:
    void deliversByNameInRegistrationOrder() {
        DBusDistributedNotifications poster(newConnection());
        const QDBusConnection observerConnection = newConnection();
        DBusDistributedNotifications observer(observerConnection);
        QVERIFY(poster.isConnected());

        QStringList calls;
        QHash<QString, Notification> received; // by the handler that heard it
        const auto record = [&](const QString& tag) {
            return [&, tag](const Notification& n) {
                calls << tag;
                received.insert(tag, n);
            };
        };
        observer.observe("TRCloseNonPinnedPopups", record("first"));
        observer.observe("TRThemeChanged", record("theme"));
        observer.observe("TRCloseNonPinnedPopups", record("second"));
        observer.observe("TRDockTilePinStateChanged", record("pin"));
        poster.observe("TRThemeChanged", record("own")); // a process hears its own posts too
        settle(observerConnection);

        const QVariantMap nested{{"depth", 2}, {"list", QVariantList{1, "two", QVariantMap{{"three", true}}}}};
        const QVariantMap sent{{"isPinned", true}, {"folderID", "3F2504E0-4F89-11D3-9A0C-0305E82C3301"},
                               {"count", 3},       {"big", qint64(1) << 40},
                               {"ratio", 0.25},    {"nested", nested}};
        // D-Bus has no date type: this key is left out, the rest still goes.
        QVariantMap withDate = sent;
        withDate.insert("when", QDateTime::currentDateTimeUtc());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\"when\".*left out"));
        poster.post("TRFolderDeleteBadge", {}, {{"id", "x"}}); // observed by nobody here
        poster.post("TRCloseNonPinnedPopups", "3F2504E0-4F89-11D3-9A0C-0305E82C3301");
        poster.post("TRThemeChanged");
        poster.post("TRDockTilePinStateChanged", {}, withDate);
        QTRY_COMPARE(calls.size(), 5);
        calls.removeOne("own");
        QCOMPARE(calls, QStringList({"first", "second", "theme", "pin"}));

        QCOMPARE(received["first"].name, QStringLiteral("TRCloseNonPinnedPopups"));
        QCOMPARE(received["first"].object, QVariant(QStringLiteral("3F2504E0-4F89-11D3-9A0C-0305E82C3301")));
        QCOMPARE(received["theme"].name, QStringLiteral("TRThemeChanged"));
        QVERIFY2(!received["theme"].object.isValid(), "an empty object string means no object");
        QVERIFY(received["theme"].userInfo.isEmpty());

        // User info arrives as plain values, not D-Bus wrappers, down to the maps inside lists.
        const QVariantMap info = received["pin"].userInfo;
        QCOMPARE(info, sent);
        QStringList types;
        for (const QVariant& value : info)
            types << value.typeName();
        QCOMPARE(types, QStringList({"qlonglong", "int", "QString", "bool", "QVariantMap", "double"}));
        QCOMPARE(info["nested"].toMap()["list"].toList().at(2).typeId(), QMetaType::QVariantMap);
    }

    void signalsOfAnotherShapeAreIgnored() {
        QDBusConnection foreign = newConnection();
        const QDBusConnection observerConnection = newConnection();
        DBusDistributedNotifications observer(observerConnection);
        QStringList received;
        observer.observe("TRThemeChanged", [&](const Notification& n) { received << n.object.toString(); });
        settle(observerConnection);

        foreign.send(signalMessage() << QString("TRThemeChanged"));
        foreign.send(signalMessage() << QString("TRThemeChanged") << 42 << QVariantMap());
        foreign.send(signalMessage() << QString("TRThemeChanged") << QString("well-formed") << QVariantMap());
        QTRY_COMPARE(received, QStringList({"well-formed"}));
    }

    // Anyone on the bus may post anything: what the Dock says is told by who owns its name.
    void senderTellsTheDockFromOtherConnections() {
        const QDBusConnection ownConnection = newConnection();
        DBusDistributedNotifications own(ownConnection);
        QList<Notification> received;
        own.observe("TRDockTilePinStateChanged", [&](const Notification& n) { received << n; });
        settle(ownConnection);
        const auto post = [&](const QDBusConnection& connection) {
            const qsizetype before = received.size();
            DBusDistributedNotifications(connection)
                .post("TRDockTilePinStateChanged", {},
                      {{"folderID", "3F2504E0-4F89-11D3-9A0C-0305E82C3301"}, {"isPinned", false}});
            return QTest::qWaitFor([&] { return received.size() > before; }) ? received.last() : Notification{};
        };
        const auto fromDock = [&](const Notification& n) {
            return own.isPostedByOwnerOf(Protocol::Bus::dockService, n);
        };
        const auto ownDockName = [](QDBusConnection connection, bool owned) {
            return owned ? connection.interface()->registerService(Protocol::Bus::dockService).value() ==
                               QDBusConnectionInterface::ServiceRegistered
                         : connection.interface()->unregisterService(Protocol::Bus::dockService).value();
        };

        const QDBusConnection stranger = newConnection();
        const QDBusConnection dock = newConnection();
        QVERIFY(ownDockName(dock, true));
        const Notification fromStranger = post(stranger);
        QCOMPARE(fromStranger.sender, stranger.baseService());
        QVERIFY(!fromDock(fromStranger) && !own.isOwnPost(fromStranger));
        const Notification fromTheDock = post(dock);
        QCOMPARE(fromTheDock.sender, dock.baseService());
        QVERIFY(fromDock(fromTheDock) && !own.isOwnPost(fromTheDock));
        const Notification fromThisProcess = post(ownConnection);
        QVERIFY(!fromDock(fromThisProcess) && own.isOwnPost(fromThisProcess));

        // The Dock starts again on a new connection: its old one speaks for it no more.
        QVERIFY(ownDockName(dock, false));
        const QDBusConnection restarted = newConnection();
        QVERIFY(ownDockName(restarted, true));
        QVERIFY(!fromDock(post(dock)));
        QVERIFY(fromDock(post(restarted)));
        // With no Dock on the bus, nobody speaks for it.
        QVERIFY(ownDockName(restarted, false));
        QVERIFY(!fromDock(post(restarted)));
    }

    // Names only the main application posts are taken from whoever owns its name, however many
    // others post them; other names stay open to every poster.
    void namesOfOnePosterAreTakenFromItAlone() {
        const QString mainName = QStringLiteral("app.trellin.Test.Main");
        const QDBusConnection ownConnection = newConnection();
        DBusDistributedNotifications own(ownConnection);
        own.takeOnlyFrom(mainName, {"TRThemeChanged"});
        QStringList received;
        own.observe("TRThemeChanged", [&](const Notification& n) { received << "theme from " + n.object.toString(); });
        own.observe("TRCloseNonPinnedPopups",
                    [&](const Notification& n) { received << "close from " + n.object.toString(); });
        settle(ownConnection);

        QDBusConnection stranger = newConnection();
        DBusDistributedNotifications strangerPosts(stranger);
        for (int i = 0; i < 1000; ++i)
            strangerPosts.post("TRThemeChanged", "stranger");
        strangerPosts.post("TRCloseNonPinnedPopups", "stranger");
        QTRY_COMPARE(received, QStringList{"close from stranger"});

        // The owner of the name, this process or another, is heard; the name moves with its owner.
        QCOMPARE(QDBusConnection(ownConnection).interface()->registerService(mainName).value(),
                 QDBusConnectionInterface::ServiceRegistered);
        settle(ownConnection);
        own.post("TRThemeChanged", "own");
        QTRY_COMPARE(received.last(), QString("theme from own"));
        QVERIFY(QDBusConnection(ownConnection).interface()->unregisterService(mainName).value());
        QCOMPARE(stranger.interface()->registerService(mainName).value(), QDBusConnectionInterface::ServiceRegistered);
        settle(stranger);
        settle(ownConnection);
        strangerPosts.post("TRThemeChanged", "the new owner");
        QTRY_COMPARE(received.last(), QString("theme from the new owner"));
        own.post("TRThemeChanged", "former owner");
        strangerPosts.post("TRCloseNonPinnedPopups", "last");
        QTRY_COMPARE(received.last(), QString("close from last"));
        QCOMPARE(received.count("theme from former owner"), 0);
    }

    void withoutBusNothingIsPostedOrObserved() {
        ConsoleCapture console;
        DBusDistributedNotifications notifications(QDBusConnection(QStringLiteral("never-connected")));
        QVERIFY(!notifications.isConnected());
        notifications.observe("TRThemeChanged", [](const Notification&) { QFAIL("observed without a bus"); });
        notifications.post("TRThemeChanged");
        QTest::qWait(20);
        QVERIFY(console.lines.isEmpty());
    }

    // Other programs build against the checked-in description; it must match the wire.
    void documentedSignatureMatchesTheSignal() {
        QXmlStreamReader xml(readFile(TRELLIN_SOURCE_DIR "/docs/dbus/app.trellin.DistributedNotifications.xml"));
        QString signature;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"arg")
                signature += xml.attributes().value("type");
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        const QByteArray document = documentedInterface("app.trellin.DistributedNotifications.xml");
        QCOMPARE(describedInterfaces(document), QStringList{Protocol::Bus::notificationsInterface});

        QDBusConnection listener = newConnection();
        RawRecorder recorder;
        QVERIFY(listener.connect({}, "/app/trellin/DistributedNotifications", "app.trellin.DistributedNotifications",
                                 "Notification", &recorder, SLOT(record(QDBusMessage))));
        settle(listener);
        DBusDistributedNotifications(newConnection()).post("TRThemeChanged", {}, {{"k", 1}});
        QTRY_COMPARE(recorder.messages.size(), 1);
        QCOMPARE(recorder.messages.first().signature(), signature);
    }
};

QTEST_GUILESS_MAIN(DBusDistributedNotificationsTest)
#include "DBusDistributedNotificationsTest.moc"
