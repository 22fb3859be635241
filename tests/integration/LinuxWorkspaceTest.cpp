#include "platform/linux/LinuxWorkspace.h"

#include "platform/PropertyList.h"

#include "PrivateBus.h"
#include "TestFiles.h"

#include <QDBusConnectionInterface>

#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <csignal>
#include <memory>

#include <unistd.h>

using Outcome = std::shared_ptr<std::optional<std::optional<QString>>>; // unset until the completion ran

// Counts the reopens sent to the object a running Trellin exports.
class ReopenCounter : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.trellin.Application")
public:
    int count = 0;
public Q_SLOTS:
    void Reopen() { ++count; }
};

class LinuxWorkspaceTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    // Canonical, as the process table reports it; the log is where the fixture program records its launches.
    const QString m_root = QDir(m_dir.path()).canonicalPath() + u'/';
    const QString m_log = m_root + u"launches.log";

    // <name>/Contents/{Info.plist, MacOS/Fixture}, the fixture program as the executable.
    QString makeBundle(const QString& name, const QVariantMap& info, bool withExecutable = true) {
        const QString bundle = m_root + name;
        QDir().mkpath(bundle + u"/Contents/MacOS");
        if (!info.isEmpty())
            PropertyList::writeFileAtomically(bundle + u"/Contents/Info.plist", info, PropertyList::Format::Xml);
        if (withExecutable)
            QFile::copy(QStringLiteral(TRELLIN_FIXTURE_APP), bundle + u"/Contents/MacOS/Fixture");
        return bundle;
    }
    static QVariantMap info() { return {{QStringLiteral("CFBundleExecutable"), QStringLiteral("Fixture")}}; }

    Outcome open(Workspace& workspace, const QString& bundle, bool newInstance, const QStringList& arguments) {
        Outcome outcome = std::make_shared<std::optional<std::optional<QString>>>();
        workspace.openApplication(bundle, {true, newInstance, arguments},
                                  [outcome](const std::optional<QString>& error) { *outcome = error; });
        return outcome;
    }

    QList<qint64> runningFrom(const Workspace& workspace, const QString& bundle) const {
        QList<qint64> pids;
        for (const Workspace::RunningApplication& app : workspace.runningApplications())
            if (app.bundlePath == bundle)
                pids << app.processIdentifier;
        return pids;
    }

    QStringList logLines() const { return QString::fromUtf8(readFile(m_log)).split(u'\n', Qt::SkipEmptyParts); }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        qputenv("TRELLIN_FIXTURE_LOG", QFile::encodeName(m_log));
    }

    void init() { QFile::remove(m_log); }

    // Whatever a failed test left running goes now.
    void cleanup() {
        for (const Workspace::RunningApplication& app : LinuxWorkspace().runningApplications())
            if (app.bundlePath.startsWith(m_root))
                ::kill(pid_t(app.processIdentifier), SIGKILL);
    }

    void launchesDetachedAndQuitsOnRequest() {
        const QString bundle = makeBundle(QStringLiteral("Launch.app"), info());
        const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
        LinuxWorkspace workspace;
        const Outcome launched = open(workspace, bundle, true, {QStringLiteral("-group"), id});
        QVERIFY(!launched->has_value());
        QTRY_VERIFY_WITH_TIMEOUT(launched->has_value(), 5000);
        QCOMPARE(**launched, std::nullopt);
        QTRY_COMPARE_WITH_TIMEOUT(logLines(), QStringList{u"-group " + id}, 5000);
        const QList<qint64> pids = runningFrom(workspace, bundle);
        QCOMPARE(pids.size(), 1);
        const pid_t pid = pid_t(pids.first());
        QCOMPARE(::getsid(pid), pid);

        // Not asked for a new instance: the running one stands for it.
        const Outcome reused = open(workspace, bundle, false, {QStringLiteral("again")});
        QTRY_VERIFY_WITH_TIMEOUT(reused->has_value(), 5000);
        QCOMPARE(**reused, std::nullopt);
        QCOMPARE(runningFrom(workspace, bundle), QList<qint64>{pid});

        // Nothing that cannot name this one process is signalled.
        QVERIFY(!workspace.terminate({0, QString()})); // would be our whole process group
        QVERIFY(!workspace.terminate({pid, m_root + u"Other.app"}));
        QTest::qWait(100);
        QCOMPARE(logLines().size(), 1);

        QVERIFY(workspace.terminate({pid, bundle}));
        QTRY_COMPARE_WITH_TIMEOUT(logLines(), (QStringList{u"-group " + id, QStringLiteral("terminated")}), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(runningFrom(workspace, bundle).isEmpty(), 5000);
    }

    void reportsBundlesThatCannotStart_data() {
        QTest::addColumn<QString>("bundle");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no Info.plist") << makeBundle(QStringLiteral("NoInfo.app"), {}) << QStringList()
                                       << QStringLiteral("no Info.plist");
        QTest::newRow("no CFBundleExecutable")
            << makeBundle(QStringLiteral("NoKey.app"), {{QStringLiteral("CFBundleName"), QStringLiteral("x")}})
            << QStringList() << QStringLiteral("CFBundleExecutable");
        QTest::newRow("no executable") << makeBundle(QStringLiteral("NoExe.app"), info(), false) << QStringList()
                                       << QStringLiteral("does not exist");
        const QString plain = makeBundle(QStringLiteral("Plain.app"), info());
        QFile::setPermissions(plain + u"/Contents/MacOS/Fixture", QFile::ReadOwner | QFile::WriteOwner);
        QTest::newRow("not executable") << plain << QStringList() << QString::fromLocal8Bit(std::strerror(EACCES));
        QTest::newRow("NUL in an argument")
            << makeBundle(QStringLiteral("Nul.app"), info()) << QStringList{QStringLiteral("a") + QChar(0) + u"b"}
            << QStringLiteral("NUL");
    }

    void reportsBundlesThatCannotStart() {
        QFETCH(QString, bundle);
        QFETCH(QStringList, arguments);
        QFETCH(QString, reason);
        LinuxWorkspace workspace;
        const Outcome outcome = open(workspace, bundle, true, arguments);
        QTRY_VERIFY_WITH_TIMEOUT(outcome->has_value(), 5000);
        QVERIFY(outcome->value().has_value());
        QVERIFY2(outcome->value()->contains(reason), qPrintable(*outcome->value()));
        QVERIFY(runningFrom(workspace, bundle).isEmpty());

        auto gone = std::make_unique<LinuxWorkspace>();
        const Outcome dropped = open(*gone, bundle, true, arguments);
        gone.reset();
        QTest::qWait(20);
        QVERIFY(!dropped->has_value());
    }

    // The name a running application takes its reopens under is anyone's to own: only the
    // bundle's own process is sent one.
    void aReopenGoesOnlyToTheBundlesOwnProcess() {
        PrivateBus bus;
        QVERIFY(bus.start());
        QDBusConnection impostor = bus.connect(QStringLiteral("impostor"));
        ReopenCounter counter;
        QVERIFY(impostor.registerObject(QStringLiteral("/app/trellin/Application"), &counter,
                                        QDBusConnection::ExportAllSlots));
        QVERIFY(impostor.interface()->registerService(QStringLiteral("test.Fixture")).isValid());
        QVariantMap withIdentifier = info();
        withIdentifier.insert(QStringLiteral("CFBundleIdentifier"), QStringLiteral("test.Fixture"));
        const QString bundle = makeBundle(QStringLiteral("Named.app"), withIdentifier);
        LinuxWorkspace workspace;
        workspace.setBus(impostor);
        open(workspace, bundle, true, {QStringLiteral("first")});
        QTRY_COMPARE_WITH_TIMEOUT(logLines(), QStringList{"first"}, 5000);

        const Outcome again = open(workspace, bundle, false, {});
        QTRY_VERIFY_WITH_TIMEOUT(again->has_value(), 5000);
        QCOMPARE(**again, std::nullopt);
        QTest::qWait(200);
        QCOMPARE(counter.count, 0);
        QCOMPARE(runningFrom(workspace, bundle).size(), 1);
    }

    // A made-up process table: numeric entries only, in pid order; a replaced executable still counts.
    void readsTheProcessTable() {
        QTemporaryDir proc;
        const QList<QPair<QString, QString>> entries{{"100", "/gone/A.app/Contents/MacOS/A (deleted)"},
                                                     {"9", "/usr/bin/env"},
                                                     {"self", "/gone/B.app/Contents/MacOS/B"},
                                                     {"20", ""},
                                                     {"10", "/gone/C.app/Contents/MacOS/C"}};
        for (const auto& [pid, exe] : entries) {
            QDir(proc.path()).mkdir(pid);
            if (!exe.isEmpty())
                QFile::link(exe, proc.filePath(pid + u"/exe"));
        }
        QList<QPair<qint64, QString>> seen;
        for (const Workspace::RunningApplication& app : LinuxWorkspace(proc.path()).runningApplications())
            seen << qMakePair(app.processIdentifier, app.bundlePath);
        QCOMPARE(seen, (QList<QPair<qint64, QString>>{{9, ""}, {10, "/gone/C.app"}, {100, "/gone/A.app"}}));
    }
};

QTEST_GUILESS_MAIN(LinuxWorkspaceTest)
#include "LinuxWorkspaceTest.moc"
