// A helper's end seen as its single-instance name losing its owner on a private bus.
#include "platform/linux/DBusHelperEndings.h"
#include "platform/linux/LinuxApplication.h"

#include "BusTestCase.h"

#include <QDBusConnectionInterface>

class DBusHelperEndingsTest : public BusTestCase {
    Q_OBJECT

private Q_SLOTS:
    void endingsOfThisApplicationsHelpersOnly() {
        const QString app = QStringLiteral("app.trellin.Trellin");
        const QString helper = LinuxApplication::instanceServiceName(app, "6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C");
        DBusHelperEndings endings(newConnection(), app);
        int ended = 0;
        endings.observeHelperEndings([&ended] { ++ended; });

        const auto holdAndEnd = [this](const QString& name) {
            const QString connectionName = QStringLiteral("holder-") + name;
            QVERIFY(bus().connect(connectionName).registerService(name));
            QDBusConnection::disconnectFromBus(connectionName); // as when its process ends
        };
        // The main application, another application's helper, and a name merely alike.
        for (const QString& other : QStringList{
                 app,
                 LinuxApplication::instanceServiceName("app.trellin.Other", "6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C"),
                 app + ".HelperX"})
            holdAndEnd(other);
        holdAndEnd(helper);
        QTRY_COMPARE(ended, 1);
        QTest::qWait(50);
        QCOMPARE(ended, 1);
    }
};

QTEST_GUILESS_MAIN(DBusHelperEndingsTest)
#include "DBusHelperEndingsTest.moc"
