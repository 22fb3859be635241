// The update-check tool as the application runs it: one JSON result on standard output for every
// feed it is pointed at, readable reasons for the ones it cannot use.
#include "TestFiles.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sys/stat.h>

namespace {

struct Run {
    int exitCode = -1;
    QJsonObject result;
    QByteArray output;
};

Run runTool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(TRELLIN_UPDATE_TOOL), arguments);
    if (!process.waitForFinished(30'000))
        process.kill();
    Run run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = process.readAllStandardOutput();
    run.result = QJsonDocument::fromJson(run.output).object();
    return run;
}

Run check(const QString& feed, const QString& version = QStringLiteral("1")) {
    return runTool({QStringLiteral("--feed"), feed, QStringLiteral("--version"), version,
                    QStringLiteral("--short-version"), QStringLiteral("0.1.0")});
}

QString fixtureURL(const char* name) {
    return QUrl::fromLocalFile(QStringLiteral(TRELLIN_SOURCE_DIR "/tests/fixtures/appcast/") + name).toString();
}

} // namespace

class UpdateCheckToolTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newerVersionIsReported() {
        const Run run = check(fixtureURL("newer.xml"), QStringLiteral("2"));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output.count('\n'), 1);
        const QJsonObject& result = run.result;
        QCOMPARE(result.value("status").toString(), QStringLiteral("newer"));
        QCOMPARE(result.value("version").toString(), QStringLiteral("3b1"));
        QCOMPARE(result.value("shortVersion").toString(), QStringLiteral("0.3.0 beta 1"));
        QCOMPARE(result.value("downloadURL").toString(),
                 QStringLiteral("https://trellin.app/downloads/Trellin-0.3.0b1.zip"));
        QCOMPARE(result.value("notes").toString(), QStringLiteral("<h2>Beta</h2><p>Not yet.</p>"));
        QCOMPARE(result.value("currentVersion").toString(), QStringLiteral("2"));
        QCOMPARE(result.value("currentShortVersion").toString(), QStringLiteral("0.1.0"));
    }

    void sameOrOlderIsCurrent() {
        for (const char* name : {"same.xml", "older.xml", "empty-channel.xml"}) {
            const Run run = check(fixtureURL(name));
            QCOMPARE(run.exitCode, 0);
            QVERIFY2(run.result.value("status") == QStringLiteral("current"), run.output.constData());
        }
    }

    void unusableFeedsGiveReadableReasons_data() {
        QTest::addColumn<QString>("feed");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("problem");
        QTest::newRow("malformed")
            << fixtureURL("malformed.xml")
            << "The update feed is not a valid appcast: Opening and ending tag mismatch (line 9)."
            << "notAppcast";
        QTest::newRow("missing file") << fixtureURL("no-such-feed.xml") << "The update feed could not be read: "
                                      << "unreadable";
        QTest::newRow("unreachable") << "https://127.0.0.1:9/feed.xml"
                                     << "The update feed could not be read: Connection refused"
                                     << "unreadable";
        QTest::newRow("plain http") << "http://trellin.app/appcast.xml"
                                    << "The update feed address is not an https: or file: address"
                                    << "address";
        QTest::newRow("not a URL") << "::"
                                   << "The update feed address is not an https: or file: address"
                                   << "address";
    }

    void unusableFeedsGiveReadableReasons() {
        QFETCH(QString, feed);
        QFETCH(QString, reason);
        const Run run = check(feed);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.result.value("status").toString(), QStringLiteral("error"));
        QFETCH(QString, problem);
        const QString given = run.result.value("reason").toString();
        QVERIFY2(given.startsWith(reason), qPrintable(given));
        // The application words the problem in its own language, around what the system said.
        QCOMPARE(run.result.value("problem").toString(), problem);
        QVERIFY(given.endsWith(run.result.value("detail").toString()) || problem == "notAppcast");
        // A broken feed names its kind of fault and its line, for the application's own words.
        if (problem == "notAppcast") {
            QCOMPARE(run.result.value("fault").toString(), QStringLiteral("malformed"));
            QCOMPARE(run.result.value("line").toInt(), 9);
        } else {
            QVERIFY(!run.result.contains(QStringLiteral("fault")));
        }
    }

    // A feed past the size limit is refused rather than read into memory whole.
    void oversizedFeedIsRefused() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("huge.xml"));
        QByteArray document = readFile(QStringLiteral(TRELLIN_SOURCE_DIR "/tests/fixtures/appcast/newer.xml"));
        document.append(QByteArray(6 * 1024 * 1024, ' '));
        QVERIFY(writeFile(path, document));
        const Run run = check(QUrl::fromLocalFile(path).toString());
        QCOMPARE(run.result.value("status").toString(), QStringLiteral("error"));
        QCOMPARE(run.result.value("reason").toString(), QStringLiteral("The update feed is larger than 5 MB."));
    }

    // A named pipe or a device given as a local feed is refused at once, not waited on.
    void specialFilesAreRefusedAtOnce() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("feed.xml"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        for (const QString& path : {fifo, QStringLiteral("/dev/zero")}) {
            QElapsedTimer timer;
            timer.start();
            const Run run = check(QUrl::fromLocalFile(path).toString());
            QVERIFY(timer.elapsed() < 5000);
            QCOMPARE(run.result.value("problem").toString(), QStringLiteral("unreadable"));
            QVERIFY2(run.result.value("reason").toString().endsWith("not a regular file"), run.output.constData());
        }
    }

    void unusableArgumentsFail() {
        QVERIFY(runTool({}).exitCode != 0);
        QVERIFY(runTool({QStringLiteral("--feed"), fixtureURL("same.xml")}).exitCode != 0);
        QVERIFY(runTool({QStringLiteral("--feed"), fixtureURL("same.xml"), QStringLiteral("--version")}).exitCode != 0);
        QVERIFY(runTool({QStringLiteral("--bogus"), QStringLiteral("x")}).output.isEmpty());
    }
};

QTEST_GUILESS_MAIN(UpdateCheckToolTest)
#include "UpdateCheckToolTest.moc"
