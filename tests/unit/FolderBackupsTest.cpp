// Kept copies of the folders file: which survive the pruning as days pass on the virtual clock,
// and that nothing in their folder that is not ours is touched.
#include "model/FolderBackups.h"

#include "TestFiles.h"
#include "VirtualClock.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

// 2027-01-01 00:00:00 UTC.
constexpr double kStart = 1'798'761'600.0;
constexpr double kDay = 86400.0;

QStringList names(const QList<FolderBackups::Backup>& backups) {
    QStringList list;
    for (const FolderBackups::Backup& backup : backups)
        list.append(backup.fileName);
    return list;
}

QString nameAt(double unixTime) {
    return QStringLiteral("folders-%1.json")
        .arg(QDateTime::fromSecsSinceEpoch(qint64(unixTime), Qt::UTC).toString("yyyyMMdd'T'HHmmss'Z'"));
}

} // namespace

class FolderBackupsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keepsTwentyVersionsAndOnePerDayForTwoWeeks();
    void leavesWhatIsNotOursAlone();
    void copiesInOneSecondAndRepeatedBytes();
    void findsOnlyCopiesInItsFolder();
};

void FolderBackupsTest::keepsTwentyVersionsAndOnePerDayForTwoWeeks() {
    QTemporaryDir home;
    VirtualClock clock(kStart);
    FolderBackups backups(home.filePath("Backups"), clock);
    // Thirty days with five edits each, at 09:00, 10:00, … 13:00.
    QStringList made;
    for (int day = 0; day < 30; ++day) {
        for (int hour = 9; hour < 14; ++hour) {
            clock.advance(kStart + day * kDay + hour * 3600 - clock.now());
            QString error;
            QVERIFY2(backups.keep(QByteArray::number(day * 100 + hour), &error), qPrintable(error));
            made.prepend(nameAt(clock.now()));
        }
    }
    // The last four days' twenty versions, then the newest (13:00) of each of the ten days before,
    // back to the fourteenth day counted with today; nothing older.
    QStringList expected = made.mid(0, 20);
    for (int day = 25; day >= 16; --day)
        expected.append(nameAt(kStart + day * kDay + 13 * 3600));
    const QList<FolderBackups::Backup> kept = backups.list();
    QCOMPARE(names(kept), expected);
    QCOMPARE(QDir(backups.directory()).entryList(QDir::Files).size(), 30);
    QCOMPARE(kept.first().time, QDateTime::fromSecsSinceEpoch(qint64(clock.now()), Qt::UTC));
    QCOMPARE(readFile(kept.first().path), QByteArray("2913"));

    // A quiet week later one more edit: the twenty newest still stand, whatever their age, and of
    // the daily copies only those of days still within the fortnight.
    clock.advance(7 * kDay);
    QVERIFY(backups.keep("later", nullptr));
    expected = QStringList{nameAt(clock.now())} + made.mid(0, 19);
    for (int day = 25; day >= 23; --day)
        expected.append(nameAt(kStart + day * kDay + 13 * 3600));
    QCOMPARE(names(backups.list()), expected);
}

void FolderBackupsTest::leavesWhatIsNotOursAlone() {
    QTemporaryDir home;
    VirtualClock clock(kStart);
    FolderBackups backups(home.filePath("Backups"), clock);
    const QString dir = backups.directory();
    // Old enough to be pruned, were they ours: a link with our name (to a file of the user's), a
    // folder with our name, and files named almost like ours.
    const QString outside = home.filePath("precious.json");
    QVERIFY(writeFile(outside, "mine"));
    QVERIFY(QDir().mkpath(dir + "/folders-20200101T000000Z.json"));
    QVERIFY(QFile::link(outside, dir + "/folders-20200102T000000Z.json"));
    QVERIFY(writeFile(dir + "/folders-20200103T000000Z.json.bak", "x"));
    QVERIFY(writeFile(dir + "/folders-20201399T000000Z.json", "x"));
    QVERIFY(writeFile(dir + "/notes.txt", "x"));
    const auto before = treeSnapshot(dir);
    for (int i = 0; i < 25; ++i) {
        clock.advance(60);
        QVERIFY(backups.keep(QByteArray::number(i), nullptr));
    }
    QCOMPARE(backups.list().size(), FolderBackups::keptVersions + 0);
    auto after = treeSnapshot(dir);
    for (const QString& name : names(backups.list()))
        after.remove(name);
    QCOMPARE(after, before);
    QCOMPARE(readFile(outside), QByteArray("mine"));
}

void FolderBackupsTest::copiesInOneSecondAndRepeatedBytes() {
    QTemporaryDir home;
    VirtualClock clock(kStart + 0.25);
    FolderBackups backups(home.filePath("Backups"), clock);
    QVERIFY(backups.keep("one", nullptr));
    QVERIFY(backups.keep("two", nullptr));
    QVERIFY(backups.keep("three", nullptr));
    // The same bytes as the newest copy make no new one.
    QVERIFY(backups.keep("three", nullptr));
    const QList<FolderBackups::Backup> kept = backups.list();
    QCOMPARE(names(kept), (QStringList{"folders-20270101T000000Z-3.json", "folders-20270101T000000Z-2.json",
                                       "folders-20270101T000000Z.json"}));
    QCOMPARE(readFile(kept.at(0).path), QByteArray("three"));
    QCOMPARE(readFile(kept.at(2).path), QByteArray("one"));
    // Bytes seen before, but not the newest, are a version again.
    QVERIFY(backups.keep("one", nullptr));
    QCOMPARE(backups.list().size(), 4);
}

void FolderBackupsTest::findsOnlyCopiesInItsFolder() {
    QTemporaryDir home;
    VirtualClock clock(kStart);
    FolderBackups backups(home.filePath("Backups"), clock);
    QVERIFY(backups.keep("kept", nullptr));
    const FolderBackups::Backup kept = backups.list().value(0);

    QCOMPARE(backups.find(kept.fileName).value().path, kept.path);
    QCOMPARE(backups.find(kept.path).value().fileName, kept.fileName);
    QCOMPARE(backups.find(home.filePath("Backups/../Backups/") + kept.fileName).value().path, kept.path);
    // A copy of the same name elsewhere, a path that climbs out, and names that are not copies.
    QVERIFY(writeFile(home.filePath("Other/") + kept.fileName, "[]"));
    QVERIFY(!backups.find(home.filePath("Other/") + kept.fileName));
    QVERIFY(!backups.find("../Other/" + kept.fileName));
    QVERIFY(!backups.find("folders-20990101T000000Z.json"));
    QVERIFY(!backups.find(""));
    QVERIFY(!backups.find("../folders.json"));
}

QTEST_GUILESS_MAIN(FolderBackupsTest)
#include "FolderBackupsTest.moc"
