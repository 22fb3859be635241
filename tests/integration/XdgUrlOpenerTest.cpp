// Opening pages through xdg-open: what the dialog learns when a browser took the page, when the
// desktop has none set up, and when there is no xdg-open at all.
#include "platform/linux/XdgUrlOpener.h"
#include "VirtualClock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// An xdg-open stand-in: a script that writes its arguments next to itself and runs `body`.
QString standIn(const QTemporaryDir& dir, const QByteArray& body) {
    const QString path = dir.filePath(QStringLiteral("xdg-open"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/arguments\"\n" + body + '\n');
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace

class XdgUrlOpenerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void outcomeFollowsXdgOpen_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("opened");
        QTest::newRow("browser took it") << QByteArray("exit 0") << true;
        // xdg-open's own codes: 3 when no browser could be found, 4 when it failed.
        QTest::newRow("no browser") << QByteArray("exit 3") << false;
        QTest::newRow("browser failed") << QByteArray("exit 4") << false;
        QTest::newRow("crashed") << QByteArray("kill -9 $$") << false;
    }
    void outcomeFollowsXdgOpen() {
        QFETCH(QByteArray, body);
        QFETCH(bool, opened);
        QTemporaryDir dir;
        VirtualClock clock;
        XdgUrlOpener opener(clock, standIn(dir, body));
        QList<bool> answers;
        const QUrl page(QStringLiteral("https://trellin.app/downloads/Trellin 0.2.zip?a=1&b=2"));
        opener.open(page, [&answers](bool took) { answers.append(took); });
        QVERIFY(QTest::qWaitFor([&answers] { return !answers.isEmpty(); }, 10'000));
        QCOMPARE(answers, QList<bool>{opened});
        // The page travels as one argument, encoded, whatever it contains.
        QFile arguments(dir.filePath(QStringLiteral("arguments")));
        QVERIFY(arguments.open(QIODevice::ReadOnly));
        QCOMPARE(arguments.readAll(), QByteArray("https://trellin.app/downloads/Trellin%200.2.zip?a=1&b=2\n"));
        clock.advance(XdgUrlOpener::patienceSeconds);
        QCOMPARE(answers.size(), 1);
    }

    void missingXdgOpenIsAFailure() {
        QTemporaryDir dir;
        VirtualClock clock;
        XdgUrlOpener opener(clock, dir.filePath(QStringLiteral("no-such-xdg-open")));
        QList<bool> answers;
        opener.open(QUrl(QStringLiteral("https://trellin.app")), [&answers](bool took) { answers.append(took); });
        QVERIFY(QTest::qWaitFor([&answers] { return !answers.isEmpty(); }, 10'000));
        QCOMPARE(answers, QList<bool>{false});
        clock.advance(XdgUrlOpener::patienceSeconds);
        QCOMPARE(answers.size(), 1);
    }

    // Where xdg-open waits for the browser it started, the page counts as opened once it has run a while.
    void browserInTheForegroundCountsAsOpened() {
        QTemporaryDir dir;
        VirtualClock clock;
        XdgUrlOpener opener(clock, standIn(dir, "exec sleep 30"));
        QList<bool> answers;
        opener.open(QUrl(QStringLiteral("https://trellin.app")), [&answers](bool took) { answers.append(took); });
        QVERIFY(QTest::qWaitFor([&dir] { return QFile::exists(dir.filePath(QStringLiteral("arguments"))); }, 10'000));
        clock.advance(XdgUrlOpener::patienceSeconds - 0.1);
        QVERIFY(answers.isEmpty());
        clock.advance(0.1);
        QCOMPARE(answers, QList<bool>{true});
    }
};

QTEST_GUILESS_MAIN(XdgUrlOpenerTest)
#include "XdgUrlOpenerTest.moc"
