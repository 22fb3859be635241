#include "platform/PropertyList.h"
#include "platform/linux/PlistUserDefaults.h"

#include "ConsoleCapture.h"
#include "TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QPoint>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString domain = QStringLiteral("app.trellin.Trellin");
constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
constexpr qint64 int64Min = std::numeric_limits<qint64>::min();
constexpr quint64 uint64Max = std::numeric_limits<quint64>::max();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

QVariantMap readDictionary(const QString& path) {
    const std::optional<PropertyList::Document> document = PropertyList::readFile(path);
    return document ? document->root.toMap() : QVariantMap();
}

void setModified(const QString& path, const QDateTime& time) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
}

QStringList startingWith(const QStringList& lines, const QString& prefix) {
    return lines.filter(QRegularExpression(u'^' + QRegularExpression::escape(prefix)));
}

} // namespace

class UserDefaultsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void conversionsOfStoredValues() {
        const QVariant dict = QVariantMap{{"a", 1}};
        const QVariantList trueValues{true,    qint64(-3), 0.25,    "YES",  "true",
                                      "  \ty", " 12abc",   "-0007", "+00Y", uint64Max};
        for (const QVariant& value : trueValues)
            QVERIFY2(DefaultsConversions::toBool(value), qPrintable(value.toString()));
        const QVariantList falseValues{false,           qint64(0), 0.0, "000", "NO", "", dict, QVariantList{true},
                                       QByteArray("1"), QVariant()};
        for (const QVariant& value : falseValues)
            QVERIFY2(!DefaultsConversions::toBool(value), qPrintable(value.toString()));

        const std::pair<QVariant, qint64> integers[] = {{2.9, 2},  {-2.9, -2}, {1e30, int64Max},      {notANumber, 0},
                                                        {true, 1}, {"3.7", 3}, {"\t-17 apples", -17}, {"+5", 5},
                                                        {"-", 0},  {dict, 0},  {uint64Max, int64Max}};
        for (const auto& [value, expected] : integers)
            QVERIFY2(DefaultsConversions::toInteger(value) == expected, qPrintable(value.toString()));
        QCOMPARE(DefaultsConversions::toInteger("99999999999999999999"), int64Max);
        QCOMPARE(DefaultsConversions::toInteger("-9223372036854775808"), int64Min);

        const std::pair<QVariant, double> doubles[] = {
            {qint64(7), 7.0}, {true, 1.0},  {"3.7", 3.7},        {"  -2.5e3xyz", -2500.0},
            {"+.5", 0.5},     {"1,5", 1.0}, {"1e400", infinity}, {"-12.5e99999", -infinity},
            {"1e-400", 0.0},  {"abc", 0.0}, {dict, 0.0}};
        for (const auto& [value, expected] : doubles)
            QVERIFY2(DefaultsConversions::toDouble(value) == expected, qPrintable(value.toString()));

        using DefaultsConversions::toString;
        QCOMPARE(toString(qint64(-12)), QStringLiteral("-12"));
        QCOMPARE(toString(3.0), QStringLiteral("3"));
        QCOMPARE(toString(0.1 + 0.2), QStringLiteral("0.30000000000000004"));
        for (const QVariant& other : {QVariant(true), dict, QVariant(QByteArray("text")), QVariant()})
            QCOMPARE(toString(other), std::nullopt);

        using DefaultsConversions::toStringArray;
        QCOMPARE(toStringArray(QVariantList{"en", "uk"}), QStringList({"en", "uk"}));
        QCOMPARE(toStringArray(QVariantList{"en", 1}), std::nullopt);
        QCOMPARE(toStringArray(QStringLiteral("en")), std::nullopt);
    }

    void argumentDomainWinsAndIsNeverWritten() {
        QTemporaryDir dir;
        QVERIFY(writeFile(
            dir.filePath(domain + ".plist"),
            *PropertyList::serialize(QVariantMap{{"group", "from file"}, {"count", "3"}}, PropertyList::Format::Xml)));
        PlistUserDefaults defaults(dir.path(), domain, {"-group", "ABC", "--long", "x", "-count", "12", "-last"});
        QCOMPARE(defaults.object("group"), QVariant("ABC"));
        QCOMPARE(defaults.integerForKey("count"), qint64(12));
        QVERIFY(!defaults.hasObject("long") && !defaults.hasObject("-long") && !defaults.hasObject("last"));

        defaults.setObject("group", "written");
        QCOMPARE(defaults.stringForKey("group"), QStringLiteral("ABC"));
        QCOMPARE(readDictionary(defaults.filePath()), QVariantMap({{"group", "written"}, {"count", "3"}}));
    }

    // Binary files of other programs, with types this program never writes, keep every key.
    void keepsWhatOtherProgramsStored() {
        QTemporaryDir dir;
        const QString path = dir.filePath(domain + ".plist");
        const QVariantMap foreign{{"NSWindow Frame main", "10 10 400 300"},
                                  {"blob", QByteArray("\x00\x01", 2)},
                                  {"when", QDateTime(QDate(2020, 5, 1), QTime(8, 0), Qt::UTC)},
                                  {"far future", QDateTime(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC)},
                                  {"long ago", QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC)},
                                  {"largest", std::numeric_limits<quint64>::max()},
                                  {"archived", QVariantMap{{"CF$UID", qint64(7)}}},
                                  {"nested", QVariantMap{{"list", QVariantList{qint64(1), 2.5}}}}};
        QVERIFY(writeFile(path, *PropertyList::serialize(foreign, PropertyList::Format::Binary)));
        const QVariantMap dock{{"tilesize", qint64(48)}, {"persistent-apps", QVariantList{}}};
        QVERIFY(writeFile(dir.filePath("com.apple.dock.plist"),
                          *PropertyList::serialize(dock, PropertyList::Format::Binary)));
        QVERIFY(writeFile(dir.filePath("broken.plist"), "nope"));

        PlistUserDefaults defaults(dir.path(), domain, {"-tilesize", "64"});
        QCOMPARE(defaults.object("NSWindow Frame main"), QVariant("10 10 400 300"));
        QCOMPARE(defaults.persistentDomain("com.apple.dock"), dock);
        for (const QString& name :
             QStringList{"missing", "broken", "../" + QFileInfo(dir.path()).fileName() + "/com.apple.dock"})
            QCOMPARE(defaults.persistentDomain(name), std::nullopt);

        defaults.setObject("language", "uk");
        defaults.removeObject("blob");
        QVariantMap expected = foreign;
        expected.remove("blob");
        expected.insert("language", "uk");
        QCOMPARE(PropertyList::readFile(path)->format, PropertyList::Format::Xml);
        QCOMPARE(readDictionary(path), expected);
        QCOMPARE(defaults.persistentDomain(domain), expected);
        QCOMPARE(QDir(dir.path()).entryList({domain + '*'}, QDir::Files | QDir::Hidden),
                 QStringList({domain + ".plist", domain + ".plist.lock"}));
    }

    void seesWhatOtherWritersChanged() {
        QTemporaryDir dir;
        PlistUserDefaults reader(dir.path(), domain, {});
        PlistUserDefaults writer(dir.path(), domain, {});
        QVERIFY(!reader.hasObject("language"));
        writer.setObject("language", "en");
        QCOMPARE(reader.stringForKey("language"), QStringLiteral("en"));
        writer.setObject("language", "uk");
        const QString path = reader.filePath();
        setModified(path, QDateTime::currentDateTimeUtc().addSecs(-3600)); // long settled when the reader looks
        QCOMPARE(reader.stringForKey("language"), QStringLiteral("uk"));

        // Rewritten in place, same inode and size: only the modification time tells the versions apart.
        QVERIFY(writeFile(path, readFile(path).replace("<string>uk</string>", "<string>de</string>")));
        setModified(path, QDateTime::currentDateTimeUtc().addDays(-3));
        QCOMPARE(reader.stringForKey("language"), QStringLiteral("de"));

        QVERIFY(QFile::remove(path));
        QVERIFY(!reader.hasObject("language"));
    }

    // Every process sets the same values at start; only a real change may touch the shared file.
    void unchangedValuesAreNotWrittenAgain() {
        QTemporaryDir dir;
        PlistUserDefaults defaults(dir.path(), domain, {});
        PlistUserDefaults other(dir.path(), domain, {});
        defaults.setObject("group", "A");
        defaults.setObject("columns", 5);
        defaults.setObject("nested", QVariantMap{{"list", QVariantList{1, "x"}}});
        const QString path = defaults.filePath();
        const auto stampOf = [&path] {
            struct stat info {};
            ::stat(QFile::encodeName(path).constData(), &info);
            return std::pair(info.st_ino, info.st_mtim.tv_nsec + info.st_mtim.tv_sec * 1'000'000'000);
        };
        const auto written = stampOf();

        // The same value, also as an int where the file holds a 64-bit integer, and a key that
        // is not there removed: nothing is written, by this instance or another.
        defaults.setObject("group", "A");
        other.setObject("columns", qint64(5));
        other.setObject("nested", QVariantMap{{"list", QVariantList{qint64(1), "x"}}});
        defaults.removeObject("absent");
        QCOMPARE(stampOf(), written);

        // A value of another type is a change: 5.0 is stored as a real.
        other.setObject("columns", 5.0);
        QVERIFY(stampOf() != written);
        QCOMPARE(readDictionary(path).value("columns").typeId(), QMetaType::Double);
        // A stale cache does not hide a change made elsewhere: "A" is written again over "B".
        other.setObject("group", "B");
        defaults.setObject("group", "A");
        QCOMPARE(readDictionary(path).value("group"), QVariant("A"));
    }

    void concurrentWritersKeepEveryKey() {
        QTemporaryDir dir;
        constexpr int writers = 4;
        constexpr int keysEach = 25;
        QList<pid_t> children;
        for (int writer = 0; writer < writers; ++writer) {
            const pid_t pid = fork();
            QVERIFY(pid >= 0);
            if (pid == 0) {
                PlistUserDefaults defaults(dir.path(), domain, {});
                for (int key = 0; key < keysEach; ++key)
                    defaults.setObject(QStringLiteral("w%1-k%2").arg(writer).arg(key), writer * 1000 + key);
                _exit(0);
            }
            children.append(pid);
        }
        for (const pid_t child : children) {
            int status = 0;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const QVariantMap stored = readDictionary(dir.filePath(domain + ".plist"));
        QCOMPARE(stored.size(), writers * keysEach);
        for (int writer = 0; writer < writers; ++writer) {
            for (int key = 0; key < keysEach; ++key)
                QCOMPARE(stored.value(QStringLiteral("w%1-k%2").arg(writer).arg(key)).toInt(), writer * 1000 + key);
        }
    }

    void unreadableFileIsKeptAsideBeforeTheFirstWrite() {
        const QByteArray broken[] = {"language = uk;\nnot a property list\n",
                                     *PropertyList::serialize(QVariantList{"a"}, PropertyList::Format::Xml),
                                     QByteArray("bplist00") + QByteArray::fromHex("d10102")};
        for (const QByteArray& contents : broken) {
            QTemporaryDir dir;
            const QString path = dir.filePath(domain + ".plist");
            QVERIFY(writeFile(path, contents));
            ConsoleCapture console;
            PlistUserDefaults defaults(dir.path(), domain, {});
            // Read twice, reported once.
            QVERIFY(!defaults.hasObject("language") && !defaults.hasObject("language"));
            QCOMPARE(console.lines.size(), 1);
            QVERIFY2(console.lines.first().startsWith("[UserDefaults] Failed to read " + path + ": "),
                     qPrintable(console.lines.first()));
            defaults.removeObject("language"); // nothing to remove: the file stays
            QCOMPARE(readFile(path), contents);

            defaults.setObject("language", "uk");
            const QStringList kept =
                startingWith(console.lines, "[UserDefaults] Kept the unreadable preferences file as ");
            QCOMPARE(kept.size(), 1);
            const QString keptPath = kept.first().section(" as ", 1);
            QVERIFY2(keptPath.startsWith(path + ".unreadable-"), qPrintable(keptPath));
            QCOMPARE(readFile(keptPath), contents);
            QCOMPARE(defaults.stringForKey("language"), QStringLiteral("uk"));
            QCOMPARE(readDictionary(path), QVariantMap({{"language", "uk"}}));

            // Broken again within the same second: the first copy is not overwritten.
            QVERIFY(writeFile(path, "broken again"));
            defaults.setObject("language", "en");
            QCOMPARE(readFile(keptPath), contents);
            QCOMPARE(QDir(dir.path()).entryList({domain + ".plist.unreadable-*"}).size(), 2);
        }
    }

    // A named pipe or a device in the file's place, or a link in the lock's, never makes a start
    // wait or a write reach outside the preferences folder.
    void specialFilesNeverHangOrLeadOutside() {
        QTemporaryDir dir;
        const QString path = dir.filePath(domain + ".plist");
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        ConsoleCapture console;
        PlistUserDefaults defaults(dir.path(), domain, {});
        QVERIFY(!defaults.object("language").isValid());
        defaults.setObject("language", "uk");
        QVERIFY(QFileInfo(path).isReadable() && !QFileInfo(path).isFile()); // still the pipe
        QVERIFY2(console.lines.last().startsWith("[UserDefaults] Failed to save preferences: "),
                 qPrintable(console.lines.last()));

        QVERIFY(QFile::remove(path) && QFile::remove(path + ".lock"));
        const QString outside = dir.filePath("outside");
        QVERIFY(QFile::link(outside, path + ".lock"));
        defaults.setObject("language", "uk");
        QVERIFY(!QFileInfo::exists(outside));
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY2(console.lines.last().contains("cannot open the lock file"), qPrintable(console.lines.last()));
    }

    void failedWritesChangeNothing() {
        QTemporaryDir dir;
        ConsoleCapture console;
        // A file that cannot even be opened (here a folder) is never replaced.
        const QString path = dir.filePath(domain + ".plist");
        QVERIFY(QDir().mkpath(path + "/inside"));
        PlistUserDefaults defaults(dir.path(), domain, {});
        defaults.setObject("language", "uk");
        QVERIFY(QFileInfo(path + "/inside").isDir() && !defaults.hasObject("language"));
        QVERIFY(QDir(path).removeRecursively());

        // The preferences folder cannot be created where a file is in the way.
        QVERIFY(writeFile(dir.filePath("Library"), "a file"));
        PlistUserDefaults blocked(dir.filePath("Library/Preferences"), domain, {});
        blocked.setObject("language", "uk");
        QVERIFY(!blocked.hasObject("language"));

        // A value with no property-list form is refused before the file is touched.
        defaults.setObject("language", "uk");
        const QByteArray before = readFile(path);
        defaults.setObject("origin", QPoint(1, 2));
        QVERIFY(!defaults.hasObject("origin"));
        QCOMPARE(readFile(path), before);
        qsizetype expectedFailures = 3;

        // An unreadable file that cannot be moved aside is not overwritten. A read-only folder does not stop root.
        if (geteuid() != 0) {
            QTemporaryDir readOnly;
            const QString unreadable = readOnly.filePath(domain + ".plist");
            QVERIFY(writeFile(unreadable, "not a plist") && writeFile(unreadable + ".lock", {}));
            QVERIFY(QFile::setPermissions(readOnly.path(), QFile::ReadOwner | QFile::ExeOwner));
            PlistUserDefaults(readOnly.path(), domain, {}).setObject("language", "uk");
            QVERIFY(QFile::setPermissions(readOnly.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            QCOMPARE(readFile(unreadable), QByteArray("not a plist"));
            ++expectedFailures;
        }

        const QStringList failures = startingWith(console.lines, "[UserDefaults] Failed to save preferences: ");
        QCOMPARE(failures.size(), expectedFailures);
        QVERIFY2(failures.at(2).contains("QPoint"), qPrintable(failures.at(2)));
    }
};

QTEST_GUILESS_MAIN(UserDefaultsTest)
#include "UserDefaultsTest.moc"
