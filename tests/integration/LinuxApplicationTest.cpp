#include "platform/linux/LinuxApplication.h"
#include "platform/Protocol.h"
#include "platform/linux/DBusFolderCommands.h"

#include "BusTestCase.h"
#include "InterfaceDescription.h"
#include "TestFiles.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <future>

namespace {

const QString kName = QStringLiteral("app.trellin.Test");

// A second launch is another process; here it is another thread, so that the claim's blocking
// call does not also block the running instance, which answers on the main thread.
InstanceClaim claimAsAnotherLaunch(LinuxApplication& application, const QString& name, bool replaceRunning) {
    auto claim = std::async(std::launch::async, [&] { return application.claimInstance(name, replaceRunning); });
    while (claim.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return claim.get();
}

QString owner(QDBusConnection& connection, const QString& name) {
    return connection.interface()->serviceOwner(name).value();
}

// Commands that succeed with nothing to say: what is served matters here, not what it does.
class AnsweringCommands final : public FolderCommands {
public:
    Outcome list() const override { return Outcome::success(); }
    Outcome add(const QString&, const QString&, const QStringList&) override { return Outcome::success(); }
    Outcome remove(const QString&) override { return Outcome::success(); }
    Outcome rename(const QString&, const QString&) override { return Outcome::success(); }
    Outcome addApps(const QString&, const QStringList&) override { return Outcome::success(); }
    Outcome removeApp(const QString&, const QString&) override { return Outcome::success(); }
    Outcome setInDock(const QString&, bool) override { return Outcome::success(); }
    void open(const QString&, Done done) override { done(Outcome::success()); }
    void launchAll(const QString&, Done done) override { done(Outcome::success()); }
    Outcome exportDocument() const override { return Outcome::success(); }
    Outcome importDocument(const QByteArray&) override { return Outcome::success(); }
    Outcome importDesktopAppFolders() override { return Outcome::success(); }
    Outcome backups() const override { return Outcome::success(); }
    Outcome restore(const QString&) override { return Outcome::success(); }
};

} // namespace

class LinuxApplicationTest : public BusTestCase {
    Q_OBJECT

private Q_SLOTS:
    void secondLaunchHandsOverOrReplaces() {
        QDBusConnection firstBus = newConnection();
        LinuxApplication first(firstBus);
        QSignalSpy firstReopens(&first, &LinuxApplication::reopenRequested);
        QCOMPARE(first.claimInstance(kName, false), InstanceClaim::Claimed);
        QCOMPARE(owner(firstBus, kName), firstBus.baseService());

        LinuxApplication second(newConnection());
        QSignalSpy secondReopens(&second, &LinuxApplication::reopenRequested);
        QCOMPARE(claimAsAnotherLaunch(second, kName, false), InstanceClaim::HandedOver);
        QTRY_COMPARE(firstReopens.count(), 1);
        QCOMPARE(owner(firstBus, kName), firstBus.baseService());

        QDBusConnection replacingBus = newConnection();
        LinuxApplication replacing(replacingBus);
        QSignalSpy replacingReopens(&replacing, &LinuxApplication::reopenRequested);
        QCOMPARE(claimAsAnotherLaunch(replacing, kName, true), InstanceClaim::Claimed);
        QCOMPARE(owner(firstBus, kName), replacingBus.baseService());

        // Later launches reach the instance that replaced the first one.
        LinuxApplication fourth(newConnection());
        QCOMPARE(claimAsAnotherLaunch(fourth, kName, false), InstanceClaim::HandedOver);
        QTRY_COMPARE(replacingReopens.count(), 1);
        QCOMPARE(firstReopens.count(), 1);
        QCOMPARE(secondReopens.count(), 0);
    }

    // An owner that does not answer Reopen would turn a new launch into a silent exit.
    void ownerWithoutTheObjectLosesTheName() {
        const QString name = kName + ".Stale";
        QDBusConnection stale = newConnection();
        QCOMPARE(stale.interface()
                     ->registerService(name, QDBusConnectionInterface::DontQueueService,
                                       QDBusConnectionInterface::AllowReplacement)
                     .value(),
                 QDBusConnectionInterface::ServiceRegistered);
        QDBusConnection launchBus = newConnection();
        LinuxApplication launch(launchBus);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("did not take the reopen"));
        QCOMPARE(launch.claimInstance(name, false), InstanceClaim::Claimed);
        QCOMPARE(owner(stale, name), launchBus.baseService());

        // A foreign owner that keeps its name: no instance to hand over to, none to become.
        const QString kept = kName + ".Kept";
        QCOMPARE(stale.interface()->registerService(kept).value(), QDBusConnectionInterface::ServiceRegistered);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("did not take the reopen"));
        QCOMPARE(launch.claimInstance(kept, false), InstanceClaim::NoBus);
        QCOMPARE(owner(stale, kept), stale.baseService());
    }

    // The app.trellin methods the object at `service` serves, as it describes them itself.
    QStringList served(const QString& service) {
        // Asynchronous: the object answers from this thread's event loop.
        QDBusPendingCall call = newConnection().asyncCall(QDBusMessage::createMethodCall(
            service, Protocol::Bus::applicationPath, "org.freedesktop.DBus.Introspectable", "Introspect"));
        [&] { QTRY_VERIFY(call.isFinished()); }();
        return call.reply().type() == QDBusMessage::ReplyMessage
                   ? describedMembers(call.reply().arguments().value(0).toString().toUtf8())
                   : QStringList{call.reply().errorMessage()};
    }

    void instanceNamesServeTheDocumentedInterface() {
        const QString main = QStringLiteral("app.trellin.Trellin");
        // Only what the run mode counts as a folder id makes a helper name.
        for (const char* notAFolderID : {"", "{3F2504E0-4F89-11D3-9A0C-0305E82C3301}", "not a uuid"})
            QCOMPARE(LinuxApplication::instanceServiceName(main, notAFolderID), main);
        const QString helper = LinuxApplication::instanceServiceName(main, "3f2504e0-4f89-11d3-9a0c-0305e82c3301");
        QCOMPARE(helper, QString("app.trellin.Trellin.Helper.G3F2504E04F8911D39A0C0305E82C3301"));

        // The bus accepts it as a name, even for ids that begin with a digit, and the instance
        // serves there the interface described for other programs.
        LinuxApplication application(newConnection());
        QCOMPARE(application.claimInstance(helper, false), InstanceClaim::Claimed);
        const QByteArray document = documentedInterface("app.trellin.Application.xml");
        QCOMPARE(describedInterfaces(document),
                 QStringList({Protocol::Bus::applicationInterface, Protocol::Bus::foldersInterface}));
        const QStringList documented = describedMembers(document);
        const QStringList instance = documented.filter(QRegularExpression("^app\\.trellin\\.Application\\."));
        QCOMPARE(instance, QStringList({"app.trellin.Application.Reopen", "app.trellin.Application.ShowPopup"}));
        QCOMPARE(served(helper), instance);

        // The main application serves the folders too.
        const QDBusConnection mainBus = newConnection();
        LinuxApplication mainApplication(mainBus);
        QCOMPARE(mainApplication.claimInstance(main, false), InstanceClaim::Claimed);
        AnsweringCommands commands;
        new DBusFolderCommands(mainApplication, mainBus, commands);
        QCOMPARE(served(main), documented);
    }

    // Without a bus there is no instance, but windows are still ordered.
    void withoutBusWindowsAreOrdered() {
        LinuxApplication application(QDBusConnection(QStringLiteral("never-connected")));
        QCOMPARE(application.claimInstance(kName, false), InstanceClaim::NoBus);
        QCOMPARE(application.keyWindow(), Application::WindowId(0));

        // Windows are built in place so that a later one can take a dead one's address.
        alignas(QWidget) std::byte storage[sizeof(QWidget)];
        QWidget* window = new (storage) QWidget;
        const auto destroy = qScopeGuard([&] { window->~QWidget(); }); // also when a check fails
        QWidget other;
        window->show();
        other.show();
        window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), window);
        const Application::WindowId id = application.keyWindow();
        QVERIFY(id != 0);
        QCOMPARE(application.keyWindow(), id);

        other.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &other);
        application.orderFrontIfVisible(id);
        QTRY_COMPARE(QApplication::activeWindow(), window);

        // Hidden: stays hidden and in the back.
        window->hide();
        other.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &other);
        application.orderFrontIfVisible(id);
        QTest::qWait(20);
        QVERIFY(!window->isVisible());
        QCOMPARE(QApplication::activeWindow(), &other);

        // Gone: the id does not reach a window made later at the same address.
        window->~QWidget();
        window = new (storage) QWidget;
        window->show();
        other.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &other);
        application.orderFrontIfVisible(id);
        QTest::qWait(20);
        QCOMPARE(QApplication::activeWindow(), &other);

        other.hide();
        application.orderOutFirstWindow();
        QVERIFY(!window->isVisible());
        application.orderOutFirstWindow(); // none left: nothing happens
    }

    // Last: it runs and leaves the application's event loop.
    void terminationSignalsQuitThroughTheEventLoop() {
        struct sigaction before = {};
        ::sigaction(SIGTERM, nullptr, &before);
        for (const int signal : {SIGTERM, SIGINT}) {
            LinuxApplication application(QDBusConnection(QStringLiteral("never-connected")));
            application.installTerminationSignalHandlers();
            int aboutToQuit = 0;
            const auto connection = connect(qApp, &QCoreApplication::aboutToQuit, this, [&] { ++aboutToQuit; });
            QTimer::singleShot(0, [signal] { ::raise(signal); });
            QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
            QCOMPARE(QCoreApplication::exec(), 0);
            disconnect(connection);
            QCOMPARE(aboutToQuit, 1);
        }
        // No instance left to read the pipe: the earlier disposition is back.
        struct sigaction after = {};
        ::sigaction(SIGTERM, nullptr, &after);
        QVERIFY(after.sa_handler == before.sa_handler);
    }
};

QTEST_MAIN(LinuxApplicationTest)
#include "LinuxApplicationTest.moc"
