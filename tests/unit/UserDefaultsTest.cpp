#include "platform/Console.h"
#include "platform/PropertyList.h"
#include "platform/linux/PlistUserDefaults.h"

#include <QDateTime>
#include <QDir>
#include <QPoint>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString domain = QStringLiteral("app.trellin.Trellin");
constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
constexpr qint64 int64Min = std::numeric_limits<qint64>::min();
constexpr double infinity = std::numeric_limits<double>::infinity();

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QVariantMap readDictionary(const QString& path) {
    const std::optional<PropertyList::Document> document = PropertyList::readFile(path);
    return document ? document->root.toMap() : QVariantMap();
}

void setModified(const QString& path, const QDateTime& time) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
}

// What the defaults print, as a user would see it on standard output.
struct ConsoleCapture {
    QStringList lines;
    ConsoleCapture() {
        Console::setSink([this](const QString& line) { lines.append(line); });
    }
    ~ConsoleCapture() { Console::setSink({}); }
    QStringList startingWith(const QString& prefix) const {
        return lines.filter(QRegularExpression(u'^' + QRegularExpression::escape(prefix)));
    }
};

} // namespace

class UserDefaultsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void conversionsOfStoredValues() {
        const QVariant dict = QVariantMap{{"a", 1}};
        const QVariantList trueValues{true,    qint64(-3), 0.25,    "YES",  "true",
                                      "  \ty", " 12abc",   "-0007", "+00Y", std::numeric_limits<quint64>::max()};
        for (const QVariant& value : trueValues)
            QVERIFY2(DefaultsConversions::toBool(value), qPrintable(value.toString()));
        const QVariantList falseValues{false,           qint64(0), 0.0, "000", "NO", "", dict, QVariantList{true},
                                       QByteArray("1"), QVariant()};
        for (const QVariant& value : falseValues)
            QVERIFY2(!DefaultsConversions::toBool(value), qPrintable(value.toString()));

        const std::pair<QVariant, qint64> integers[] = {{2.9, 2},
                                                        {-2.9, -2},
                                                        {1e30, int64Max},
                                                        {std::nan(""), 0},
                                                        {true, 1},
                                                        {" 12abc", 12},
                                                        {"3.7", 3},
                                                        {"\t-17 apples", -17},
                                                        {"+5", 5},
                                                        {"abc", 0},
                                                        {"-", 0},
                                                        {"99999999999999999999", int64Max},
                                                        {"-9223372036854775808", int64Min},
                                                        {dict, 0},
                                                        {std::numeric_limits<quint64>::max(), int64Max}};
        for (const auto& [value, expected] : integers)
            QVERIFY2(DefaultsConversions::toInteger(value) == expected, qPrintable(value.toString()));

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
        writeBytes(
            dir.filePath(domain + ".plist"),
            *PropertyList::serialize(QVariantMap{{"group", "from file"}, {"count", "3"}}, PropertyList::Format::Xml));
        PlistUserDefaults defaults(dir.path(), domain, {"-group", "ABC", "--long", "x", "-count", "12", "-last"});
        QCOMPARE(defaults.object("group"), QVariant("ABC"));
        QCOMPARE(defaults.integerForKey("count"), qint64(12));
        QVERIFY(!defaults.hasObject("long") && !defaults.hasObject("-long") && !defaults.hasObject("last"));

        defaults.setObject("group", "written");
        QCOMPARE(defaults.stringForKey("group"), QStringLiteral("ABC"));
        QCOMPARE(readDictionary(defaults.filePath()), QVariantMap({{"group", "written"}, {"count", "3"}}));
    }

    void keepsKeysOfABinaryFileWrittenByAnotherProgram() {
        QTemporaryDir dir;
        const QString path = dir.filePath(domain + ".plist");
        const QVariantMap foreign{{"NSWindow Frame main", "10 10 400 300"},
                                  {"blob", QByteArray("\x00\x01", 2)},
                                  {"when", QDateTime(QDate(2020, 5, 1), QTime(8, 0), Qt::UTC)},
                                  {"nested", QVariantMap{{"list", QVariantList{qint64(1), 2.5}}}}};
        writeBytes(path, *PropertyList::serialize(foreign, PropertyList::Format::Binary));

        PlistUserDefaults defaults(dir.path(), domain, {});
        QCOMPARE(defaults.object("NSWindow Frame main"), QVariant("10 10 400 300"));
        defaults.setObject("language", "uk");
        defaults.removeObject("blob");

        QVariantMap expected = foreign;
        expected.remove("blob");
        expected.insert("language", "uk");
        QCOMPARE(PropertyList::readFile(path)->format, PropertyList::Format::Xml);
        QCOMPARE(readDictionary(path), expected);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
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
        QByteArray bytes = readBytes(path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QCOMPARE(file.write(bytes.replace("<string>uk</string>", "<string>de</string>")), bytes.size());
        file.close();
        setModified(path, QDateTime::currentDateTimeUtc().addDays(-3));
        QCOMPARE(reader.stringForKey("language"), QStringLiteral("de"));

        QVERIFY(QFile::remove(path));
        QVERIFY(!reader.hasObject("language"));
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
            writeBytes(path, contents);
            ConsoleCapture console;
            PlistUserDefaults defaults(dir.path(), domain, {});
            QVERIFY(!defaults.hasObject("language") && !defaults.hasObject("language"));
            QCOMPARE(console.lines.size(), 1);
            QVERIFY2(console.lines.first().startsWith("[UserDefaults] Failed to read " + path + ": "),
                     qPrintable(console.lines.first()));
            defaults.removeObject("language"); // nothing to remove: the file stays
            QCOMPARE(readBytes(path), contents);

            defaults.setObject("language", "uk");
            const QStringList kept = console.startingWith("[UserDefaults] Kept the unreadable preferences file as ");
            QCOMPARE(kept.size(), 1);
            const QString keptPath = kept.first().section(" as ", 1);
            QVERIFY2(keptPath.startsWith(path + ".unreadable-"), qPrintable(keptPath));
            QCOMPARE(readBytes(keptPath), contents);
            QCOMPARE(defaults.stringForKey("language"), QStringLiteral("uk"));
            QCOMPARE(readDictionary(path), QVariantMap({{"language", "uk"}}));

            // Broken again within the same second: the first copy is not overwritten.
            writeBytes(path, "broken again");
            defaults.setObject("language", "en");
            QCOMPARE(readBytes(keptPath), contents);
            QCOMPARE(QDir(dir.path()).entryList({domain + ".plist.unreadable-*"}).size(), 2);
        }
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
        writeBytes(dir.filePath("Library"), "a file");
        PlistUserDefaults blocked(dir.filePath("Library/Preferences"), domain, {});
        blocked.setObject("language", "uk");
        QVERIFY(!blocked.hasObject("language"));

        // A value with no property-list form is refused before the file is touched.
        defaults.setObject("language", "uk");
        const QByteArray before = readBytes(path);
        defaults.setObject("origin", QPoint(1, 2));
        QVERIFY(!defaults.hasObject("origin"));
        QCOMPARE(readBytes(path), before);

        const QStringList failures = console.startingWith("[UserDefaults] Failed to save preferences: ");
        QCOMPARE(failures.size(), 3);
        QVERIFY2(failures.last().contains("QPoint"), qPrintable(failures.last()));
    }

    void unreadableFileThatCannotBeMovedIsNotOverwritten() {
        if (geteuid() == 0)
            QSKIP("a read-only folder does not stop root");
        QTemporaryDir dir;
        const QString path = dir.filePath(domain + ".plist");
        writeBytes(path, "not a plist");
        writeBytes(path + ".lock", QByteArray());
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        ConsoleCapture console;
        PlistUserDefaults defaults(dir.path(), domain, {});
        defaults.setObject("language", "uk");
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(readBytes(path), QByteArray("not a plist"));
        QCOMPARE(console.startingWith("[UserDefaults] Failed to save preferences: ").size(), 1);
    }

    void persistentDomainReadsOtherDomainsAsStored() {
        QTemporaryDir dir;
        const QVariantMap dock{{"tilesize", qint64(48)}, {"persistent-apps", QVariantList{}}};
        writeBytes(dir.filePath("com.apple.dock.plist"), *PropertyList::serialize(dock, PropertyList::Format::Binary));
        writeBytes(dir.filePath("broken.plist"), "nope");
        PlistUserDefaults defaults(dir.path(), domain, {"-tilesize", "64"});
        QCOMPARE(defaults.persistentDomain("com.apple.dock"), dock);
        QCOMPARE(defaults.persistentDomain(domain), std::nullopt);
        QCOMPARE(defaults.persistentDomain("broken"), std::nullopt);
        QCOMPARE(defaults.persistentDomain("../" + QFileInfo(dir.path()).fileName() + "/com.apple.dock"), std::nullopt);
        defaults.setObject("language", "en");
        QCOMPARE(defaults.persistentDomain(domain), QVariantMap({{"language", "en"}}));
    }
};

QTEST_GUILESS_MAIN(UserDefaultsTest)
#include "UserDefaultsTest.moc"
