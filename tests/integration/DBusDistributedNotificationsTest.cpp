#include "platform/linux/DBusDistributedNotifications.h"
#include "platform/Console.h"

#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "BusTestCase.h"
#include <QXmlStreamReader>

namespace {

// The bus handles one connection's messages in order, so once a call made after observe()
// returns, the match rule is in place for posts from other connections.
void settle(const QDBusConnection& connection) {
    QDBusConnection(connection)
        .call(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                             "org.freedesktop.DBus.Peer", "Ping"));
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
        QList<Notification> received;
        observer.observe("TRCloseNonPinnedPopups", [&](const Notification& n) {
            calls << "first";
            received << n;
        });
        observer.observe("TRThemeChanged", [&](const Notification& n) {
            calls << "theme";
            received << n;
        });
        observer.observe("TRCloseNonPinnedPopups", [&](const Notification&) { calls << "second"; });
        settle(observerConnection);

        poster.post("TRFolderDeleteBadge", {}, {{"id", "x"}}); // observed by nobody here
        poster.post("TRCloseNonPinnedPopups", "3F2504E0-4F89-11D3-9A0C-0305E82C3301");
        poster.post("TRThemeChanged");
        QTRY_COMPARE(calls, QStringList({"first", "second", "theme"}));

        QCOMPARE(received.at(0).name, QStringLiteral("TRCloseNonPinnedPopups"));
        QCOMPARE(received.at(0).object, QVariant(QStringLiteral("3F2504E0-4F89-11D3-9A0C-0305E82C3301")));
        QCOMPARE(received.at(1).name, QStringLiteral("TRThemeChanged"));
        QVERIFY2(!received.at(1).object.isValid(), "an empty object string means no object");
        QVERIFY(received.at(1).userInfo.isEmpty());
    }

    void userInfoValuesArriveAsPlainValues() {
        DBusDistributedNotifications poster(newConnection());
        const QDBusConnection observerConnection = newConnection();
        DBusDistributedNotifications observer(observerConnection);
        QList<Notification> received;
        observer.observe("TRDockTilePinStateChanged", [&](const Notification& n) { received << n; });
        settle(observerConnection);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\"when\".*left out"));
        const QVariantMap nested{{"depth", 2}, {"list", QVariantList{1, "two", QVariantMap{{"three", true}}}}};
        poster.post("TRDockTilePinStateChanged", {},
                    {{"isPinned", true},
                     {"folderID", "3F2504E0-4F89-11D3-9A0C-0305E82C3301"},
                     {"count", 3},
                     {"big", qint64(1) << 40},
                     {"ratio", 0.25},
                     {"nested", nested},
                     // D-Bus has no date type: this key is left out, the rest still goes.
                     {"when", QDateTime::currentDateTimeUtc()}});
        QTRY_COMPARE(received.size(), 1);

        const QVariantMap info = received.first().userInfo;
        QCOMPARE(info.keys(), QStringList({"big", "count", "folderID", "isPinned", "nested", "ratio"}));
        QCOMPARE(info["isPinned"].typeId(), QMetaType::Bool);
        QCOMPARE(info["isPinned"].toBool(), true);
        QCOMPARE(info["folderID"].typeId(), QMetaType::QString);
        QCOMPARE(info["count"].typeId(), QMetaType::Int);
        QCOMPARE(info["count"].toInt(), 3);
        QCOMPARE(info["big"].toLongLong(), qint64(1) << 40);
        QCOMPARE(info["ratio"].typeId(), QMetaType::Double);
        QCOMPARE(info["ratio"].toDouble(), 0.25);
        QCOMPARE(info["nested"].typeId(), QMetaType::QVariantMap);
        QCOMPARE(info["nested"], QVariant(nested));
        const QVariantList list = info["nested"].toMap()["list"].toList();
        QCOMPARE(list.at(2).typeId(), QMetaType::QVariantMap);
    }

    void ownPostsReachOwnObservers() {
        DBusDistributedNotifications notifications(newConnection());
        QStringList objects;
        notifications.observe("TRFolderOffBadge", [&](const Notification& n) { objects << n.object.toString(); });
        notifications.post("TRFolderOffBadge", "mine");
        QTRY_COMPARE(objects, QStringList({"mine"}));
    }

    void signalsOfAnotherShapeAreIgnored() {
        QDBusConnection foreign = newConnection();
        const QDBusConnection observerConnection = newConnection();
        DBusDistributedNotifications observer(observerConnection);
        QStringList received;
        observer.observe("TRThemeChanged", [&](const Notification& n) { received << n.object.toString(); });
        settle(observerConnection);

        const auto signal = [] {
            return QDBusMessage::createSignal("/app/trellin/DistributedNotifications",
                                              "app.trellin.DistributedNotifications", "Notification");
        };
        foreign.send(signal() << QString("TRThemeChanged"));
        foreign.send(signal() << QString("TRThemeChanged") << 42 << QVariantMap());
        foreign.send(signal() << QString("TRThemeChanged") << QString("well-formed") << QVariantMap());
        QTRY_COMPARE(received, QStringList({"well-formed"}));
    }

    void withoutBusNothingIsPostedOrObserved() {
        QStringList printed;
        Console::setSink([&](const QString& line) { printed << line; });
        DBusDistributedNotifications notifications(QDBusConnection(QStringLiteral("never-connected")));
        QVERIFY(!notifications.isConnected());
        notifications.observe("TRThemeChanged", [](const Notification&) { QFAIL("observed without a bus"); });
        notifications.post("TRThemeChanged");
        QTest::qWait(20);
        Console::setSink({});
        QVERIFY(printed.isEmpty());
    }

    // Other programs build against the checked-in description; it must match the wire.
    void documentedSignatureMatchesTheSignal() {
        QFile file(TRELLIN_SOURCE_DIR "/docs/dbus/app.trellin.DistributedNotifications.xml");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString signature;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"arg")
                signature += xml.attributes().value("type");
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));

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
