// The application's updater running the real update-check tool: which outcomes reach the user,
// where the feed address comes from, and how overlapping checks and failing tools end.
#include "platform/linux/AppcastUpdater.h"
#include "TestHome.h"
#include "VirtualClock.h"
#include "platform/UpdatePresenter.h"

#include <QFile>
#include <QTest>
#include <QUrl>

namespace {

struct RecordingPresenter final : UpdatePresenter {
    void present(const UpdateCheckResult& result, bool userInitiated) override {
        results.append(result);
        userInitiatedFlags.append(userInitiated);
    }
    QList<UpdateCheckResult> results;
    QList<bool> userInitiatedFlags;
};

QString fixtureURL(const char* name) {
    return QUrl::fromLocalFile(QStringLiteral(TRELLIN_SOURCE_DIR "/tests/fixtures/appcast/") + name).toString();
}

// A test home with a bundle whose Info.plist names `feed` (none when empty), and an updater for it.
struct Bed {
    explicit Bed(const QString& feed, QString tool = QStringLiteral(TRELLIN_UPDATE_TOOL)) {
        QVariantMap info{{"CFBundleIdentifier", TestHome::bundleIdentifier},
                         {"CFBundleVersion", "1"},
                         {"CFBundleShortVersionString", "0.1.0"}};
        if (!feed.isEmpty())
            info.insert(QStringLiteral("SUFeedURL"), feed);
        bundlePath = home.makeBundle(QStringLiteral("Applications/Trellin.app"), info);
        toolPath = tool;
    }
    AppcastUpdater& updater() {
        if (!m_updater)
            m_updater = std::make_unique<AppcastUpdater>(AppcastUpdater::Dependencies{
                .defaults = *home.defaults,
                .mainBundle = Bundle(bundlePath),
                .scheduler = clock,
                .presenter = presenter,
                .toolPath = toolPath,
            });
        return *m_updater;
    }
    // Waits until the running check has ended.
    bool settle() {
        return QTest::qWaitFor([this] { return !updater().isChecking(); }, 20'000);
    }
    // A tool that is a shell script.
    QString script(const QByteArray& body) {
        const QString path = home.path(QStringLiteral("tool.sh"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("#!/bin/sh\n" + body + '\n');
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    TestHome home;
    VirtualClock clock;
    RecordingPresenter presenter;
    QString bundlePath;
    QString toolPath;

private:
    std::unique_ptr<AppcastUpdater> m_updater;
};

} // namespace

class AppcastUpdaterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void userCheckShowsEveryOutcome_data() {
        QTest::addColumn<QString>("feed");
        QTest::addColumn<int>("status");
        QTest::newRow("same") << fixtureURL("same.xml") << int(UpdateCheckResult::Status::Current);
        QTest::newRow("newer") << fixtureURL("newer.xml") << int(UpdateCheckResult::Status::Newer);
        QTest::newRow("malformed") << fixtureURL("malformed.xml") << int(UpdateCheckResult::Status::Failed);
        QTest::newRow("missing") << fixtureURL("no-such-feed.xml") << int(UpdateCheckResult::Status::Failed);
    }

    void userCheckShowsEveryOutcome() {
        QFETCH(QString, feed);
        QFETCH(int, status);
        Bed bed(feed);
        bed.updater().checkForUpdates();
        QVERIFY(bed.updater().isChecking()); // the check runs in the background
        QVERIFY(bed.settle());
        QCOMPARE(bed.presenter.results.size(), 1);
        const UpdateCheckResult& result = bed.presenter.results.first();
        QCOMPARE(int(result.status), status);
        QVERIFY(bed.presenter.userInitiatedFlags.first());
        QCOMPARE(result.currentShortVersion, QStringLiteral("0.1.0"));
        if (result.status == UpdateCheckResult::Status::Newer) {
            QCOMPARE(result.version, QStringLiteral("3b1"));
            QCOMPARE(result.downloadURL, QStringLiteral("https://trellin.app/downloads/Trellin-0.3.0b1.zip"));
        }
        if (result.status == UpdateCheckResult::Status::Failed)
            QVERIFY(result.reason.startsWith(QStringLiteral("The update feed ")));
        // The broken feed arrives as a kind of fault with its line, not only as the parser's English.
        if (QTest::currentDataTag() == QByteArray("malformed")) {
            QCOMPARE(result.problem, UpdateCheckResult::Problem::NotAnAppcast);
            QCOMPARE(result.feedFault, UpdateCheckResult::FeedFault::Malformed);
            QCOMPARE(result.feedLine, 9);
        } else {
            QCOMPARE(result.feedFault, UpdateCheckResult::FeedFault::Unknown);
        }
    }

    // What the tool prints is untrusted text: a fault it names is taken only as far as it makes sense.
    void faultKindsAreReadWithCare() {
        const auto parsed = [](const char* json) { return AppcastUpdater::parseToolOutput(QByteArray(json)); };
        const UpdateCheckResult noChannel =
            parsed(R"({"status":"error","problem":"notAppcast","fault":"noChannel","reason":"x","line":4})");
        QCOMPARE(noChannel.feedFault, UpdateCheckResult::FeedFault::NoChannel);
        QCOMPARE(noChannel.feedLine, 0);
        // A broken document without a usable line is worded as before, with the tool's detail.
        for (const char* json :
             {R"({"status":"error","problem":"notAppcast","fault":"malformed","reason":"x"})",
              R"({"status":"error","problem":"notAppcast","fault":"malformed","reason":"x","line":-3})",
              R"({"status":"error","problem":"notAppcast","fault":"other","reason":"x","line":2})"})
            QCOMPARE(parsed(json).feedFault, UpdateCheckResult::FeedFault::Unknown);
        // A fault belongs to an unusable feed only.
        const UpdateCheckResult unreadable =
            parsed(R"({"status":"error","problem":"unreadable","fault":"notRss","reason":"x","detail":"gone"})");
        QCOMPARE(unreadable.feedFault, UpdateCheckResult::FeedFault::Unknown);
    }

    // Started once at launch: silent unless a newer version is found.
    void launchCheckShowsOnlyNewerVersion() {
        for (const char* name : {"same.xml", "malformed.xml", ""}) {
            Bed bed(*name ? fixtureURL(name) : QString());
            bed.updater().start();
            QVERIFY(bed.settle());
            QTest::qWait(50);
            QVERIFY2(bed.presenter.results.isEmpty(), name);
        }
        Bed bed(fixtureURL("newer.xml"));
        bed.updater().start();
        QVERIFY(bed.settle());
        bed.updater().start(); // a second start does not check again
        QVERIFY(!bed.updater().isChecking());
        QCOMPARE(bed.presenter.results.size(), 1);
        QCOMPARE(bed.presenter.results.first().status, UpdateCheckResult::Status::Newer);
        QVERIFY(!bed.presenter.userInitiatedFlags.first());
    }

    void userCheckWithoutFeedSaysSo() {
        Bed bed{QString()};
        bed.updater().checkForUpdates();
        QCOMPARE(bed.presenter.results.size(), 1);
        QCOMPARE(bed.presenter.results.first().status, UpdateCheckResult::Status::Failed);
        QCOMPARE(bed.presenter.results.first().reason, QStringLiteral("This copy of Trellin names no update feed."));
        QCOMPARE(bed.presenter.results.first().problem, UpdateCheckResult::Problem::NoFeed);
    }

    // A check asked for while one runs joins it; the user's check makes the outcome show.
    void overlappingChecksAreMerged() {
        Bed bed(fixtureURL("same.xml"));
        bed.updater().start();
        bed.updater().checkForUpdates();
        bed.updater().checkForUpdates();
        QVERIFY(bed.settle());
        QTest::qWait(50);
        QCOMPARE(bed.presenter.results.size(), 1);
        QCOMPARE(bed.presenter.results.first().status, UpdateCheckResult::Status::Current);
        QVERIFY(bed.presenter.userInitiatedFlags.first());
        // The next check starts afresh.
        bed.updater().checkForUpdates();
        QVERIFY(bed.settle());
        QCOMPARE(bed.presenter.results.size(), 2);
    }

    void commandLineFeedOverridesInfoPlist() {
        Bed bed(fixtureURL("same.xml"));
        bed.home.relaunch({QStringLiteral("-SUFeedURL"), fixtureURL("newer.xml")});
        QCOMPARE(bed.updater().feedURL(), fixtureURL("newer.xml"));
        bed.updater().start();
        QVERIFY(bed.settle());
        QCOMPARE(bed.presenter.results.size(), 1);
        QCOMPARE(bed.presenter.results.first().status, UpdateCheckResult::Status::Newer);
    }

    // A tool that misbehaves is a failure the user can read, never a success.
    void failingToolsAreFailures_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("reason");
        QTest::newRow("garbage") << QByteArray("echo 'not json'") << "gave an answer that could not be read";
        QTest::newRow("unknown status") << QByteArray("echo '{\"status\":\"maybe\"}'")
                                        << "gave an answer that could not be read";
        QTest::newRow("crash") << QByteArray("kill -SEGV $$") << "stopped unexpectedly";
        QTest::newRow("exit code") << QByteArray("echo 'bad arguments' >&2; exit 2") << "could not run: bad arguments";
        QTest::newRow("hangs") << QByteArray("exec sleep 60") << "did not finish in time";
        QTest::newRow("missing") << QByteArray() << "missing from this copy";
    }

    void failingToolsAreFailures() {
        QFETCH(QByteArray, body);
        QFETCH(QString, reason);
        Bed bed(fixtureURL("newer.xml"));
        bed.toolPath = body.isEmpty() ? bed.home.path(QStringLiteral("no-such-tool")) : bed.script(body);
        bed.updater().checkForUpdates();
        if (QByteArray(QTest::currentDataTag()) == "hangs") {
            QTest::qWait(200);
            QVERIFY(bed.updater().isChecking());
            bed.clock.advance(AppcastUpdater::toolTimeoutSeconds);
        }
        QVERIFY(bed.settle());
        QCOMPARE(bed.presenter.results.size(), 1);
        const UpdateCheckResult& result = bed.presenter.results.first();
        QCOMPARE(result.status, UpdateCheckResult::Status::Failed);
        QVERIFY2(result.reason.contains(reason), qPrintable(result.reason));
        QCOMPARE(result.currentVersion, QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(AppcastUpdaterTest)
#include "AppcastUpdaterTest.moc"
