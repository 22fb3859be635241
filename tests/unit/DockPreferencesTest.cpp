// The Dock's preferences as read here, and the one rewrite made to them: a folder's helper tiles
// taken out of "persistent-apps" with everything else left as the Dock wrote it.
#include "helpers/DockPreferences.h"
#include "model/AppFolder.h"
#include "model/FolderID.h"
#include "platform/DockFileFormat.h"
#include "platform/PropertyList.h"
#include "platform/linux/PlistPreferenceDomain.h"

#include "TestFiles.h"
#include "TestHome.h"

#include <QDateTime>
#include <QtTest>

#include <limits>

#include <sys/stat.h>

using PropertyList::Format;

namespace {

// Compared as XML, so a value coming back with another type shows as a difference.
QByteArray xmlOf(const QVariant& root) {
    return PropertyList::serialize(root, Format::Xml).value_or(QByteArray());
}

QVariantMap tile(const QString& location, const QVariant& type = {}, const QString& label = "App") {
    QVariantMap fileData{{"_CFURLString", location}};
    if (type.isValid())
        fileData.insert("_CFURLStringType", type);
    return {{"GUID", qint64(12345)},
            {"tile-type", "file-tile"},
            {"tile-data", QVariantMap{{"file-data", fileData}, {"file-label", label}, {"dock-extra", false}}}};
}

AppFolder folderNamed(const QString& name) {
    return AppFolder(QUuid::createUuid(), name, "folder");
}

QString fileUrl(const QString& path) {
    return QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded()) + u'/';
}

// Preference API values chosen by the test, to tell its answers from the file's.
class FakeDomain final : public PreferenceDomain {
public:
    QVariant copyValue(const QString& key) const override { return values.value(key); }
    bool setValue(const QString& key, const QVariant& value, QString* error) override {
        if (!writable) {
            if (error)
                *error = "disk full";
            return false;
        }
        values.insert(key, value);
        return true;
    }
    bool synchronize() override { return true; }

    QVariantMap values;
    bool writable = true;
};

} // namespace

class DockPreferencesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestHome> m_home;
    QString m_helpersDir;
    QHash<QUuid, QString> m_helperPaths;
    QSet<QString> m_running;

    QString helper(const QString& name) const { return m_helpersDir + u'/' + name; }
    QString dockFile() const { return DockFileFormat::standardPath(m_home->path()); }
    PlistPreferenceDomain fileDomain() const {
        return PlistPreferenceDomain(m_home->path("Library/Preferences"), DockFileFormat::domainName);
    }

    DockPreferences make(PreferenceDomain& domain) {
        const auto bundlePath = [this](const QUuid& id) {
            return m_helperPaths.contains(id) ? std::optional(m_helperPaths.value(id)) : std::nullopt;
        };
        const auto isRunning = [this](const QString& path) { return m_running.contains(path); };
        return DockPreferences(domain, m_home->distributedNotifications, dockFile(), m_helpersDir,
                               m_home->path("share/Trellin/HelperState"),
                               {.bundlePath = bundlePath, .isRunning = isRunning});
    }

    void writeDock(const QVariant& root, Format format) {
        QVERIFY(writeFile(dockFile(), PropertyList::serialize(root, format).value()));
    }

    void makeHelper(const QString& name, const QUuid& id) {
        m_home->makeBundle("share/Trellin/Helpers/" + name, {{"TRGroupUUID", FolderID::canonical(id)}});
    }

private Q_SLOTS:
    void init() {
        m_home = std::make_unique<TestHome>();
        m_helpersDir = m_home->path("share/Trellin/Helpers");
        m_helperPaths.clear();
        m_running.clear();
    }
    // The next home's console capture must not start before this one has ended.
    void cleanup() { m_home.reset(); }

    void tileFilePath_data() {
        QTest::addColumn<QString>("location");
        QTest::addColumn<qint64>("type");
        QTest::addColumn<QString>("expected"); // empty: none
        const auto row = [](const char* name, const QString& location, qint64 type, const char* expected) {
            QTest::newRow(name) << location << type << QString::fromUtf8(expected);
        };
        const QString escaped = "file:///Users/me/App%20Support/Helpers/Work%20Stuff.app/";
        row("escaped URL, type 15", escaped, 15, "/Users/me/App Support/Helpers/Work Stuff.app");
        row("same text, type 0, is a relative path", escaped, 0, "");
        row("literal path, type 0, not decoded", "/Apps/My%20App.app/", 0, "/Apps/My%20App.app");
        row("dot-dot segments", "file:///H/Helpers/../Helpers/./Work.app/", 15, "/H/Helpers/Work.app");
        row("unescaped path, type 15", "/Applications/My App.app", 15, "/Applications/My App.app");
        row("not a file URL", "https://example.com/x.app", 15, "");
    }

    void tileFilePath() {
        QFETCH(QString, location);
        QFETCH(qint64, type);
        QTEST(DockFileFormat::tileFilePath(tile(location, type)).value_or(QString()), "expected");
    }

    void sizesAndMagnification_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QVariantMap>("values");
        QTest::addColumn<double>("tileSize"); // -1: none
        QTest::addColumn<double>("largeSize");
        QTest::addColumn<bool>("magnification");

        for (const Format format : {Format::Xml, Format::Binary}) {
            const auto row = [format](const char* name, const QVariantMap& values, double tile, double large, bool on) {
                QTest::addRow("%s: %s", format == Format::Xml ? "xml" : "binary", name)
                    << int(format) << values << tile << large << on;
            };
            row("integers, boolean", {{"tilesize", qint64(48)}, {"largesize", qint64(64)}, {"magnification", true}}, 48,
                64, true);
            row("fractional tilesize, whole real, integer magnification",
                {{"tilesize", 47.5}, {"largesize", 64.0}, {"magnification", qint64(2)}}, -1, 64, true);
            row("strings and zero", {{"tilesize", "48"}, {"magnification", qint64(0)}}, -1, -1, false);
        }
    }

    void sizesAndMagnification() {
        QFETCH(int, format);
        QFETCH(QVariantMap, values);
        writeDock(values, Format(format));
        PlistPreferenceDomain domain = fileDomain();
        const DockPreferences dock = make(domain);
        QTEST(dock.dockTileSize().value_or(-1), "tileSize");
        QTEST(dock.dockLargeSize().value_or(-1), "largeSize");
        QTEST(dock.isDockMagnificationEnabled(), "magnification");
    }

    // The preference API answers first; the file only when the API has no usable value. A write the
    // API refuses is reported, and the Dock is not told to reread an unchanged list.
    void preferenceApiBeforeFileAndRefusedWrite() {
        writeDock(QVariantMap{{"tilesize", qint64(48)},
                              {"magnification", qint64(2)},
                              {"persistent-apps", QVariantList{tile("/F.app")}}},
                  Format::Binary);
        FakeDomain domain;
        domain.values = {{"tilesize", qint64(36)},
                         {"largesize", 47.5},
                         {"persistent-apps", QVariantList{tile("/A.app"), "junk", qint64(5), tile("/B.app")}}};
        DockPreferences dock = make(domain);
        QCOMPARE(dock.dockTileSize().value_or(-1), 36.0);
        QVERIFY(!dock.dockLargeSize()); // neither source has an integer
        QVERIFY(dock.isDockMagnificationEnabled());

        const QList<QVariantMap> tiles = dock.dockPersistentApps().value();
        QCOMPARE(tiles.size(), 2);
        QCOMPARE(DockFileFormat::tileFilePath(tiles.at(1)).value_or(QString()), "/B.app");

        domain.values["persistent-apps"] = "not an array";
        QCOMPARE(DockFileFormat::tileFilePath(dock.dockPersistentApps().value().at(0)).value_or(QString()), "/F.app");

        domain.values["persistent-apps"] = QVariantList{tile(fileUrl(helper("Work.app")), qint64(15), "Work")};
        domain.writable = false;
        dock.removeFolderTilesFromDock(folderNamed("Work"));
        QCOMPARE(m_home->console.lines, QStringList{"[HelperManager] Failed to update Dock preferences: disk full"});
        QVERIFY(m_home->distributedNotifications.posted.isEmpty());
    }

    void pinnedFromFileOrMarker() {
        const AppFolder listed = folderNamed("Work");
        const AppFolder marked = folderNamed("Play");
        const AppFolder unbuilt = folderNamed("None");
        m_helperPaths[listed.id] = helper("Work Stuff.app");
        m_helperPaths[marked.id] = helper("Play.app");
        // A stray entry in the list must not hide the tiles next to it.
        writeDock(QVariantMap{{"persistent-apps",
                               QVariantList{"junk", tile(fileUrl(helper("../Helpers/Work Stuff.app")), qint64(15))}}},
                  Format::Binary);
        PlistPreferenceDomain domain = fileDomain();
        const DockPreferences dock = make(domain);
        QVERIFY(dock.dockPersistentAppPathsFromFile().contains(m_helperPaths[listed.id]));
        QVERIFY(dock.isFolderPinned(listed));
        QVERIFY(!dock.isFolderPinned(unbuilt));

        const QString marker = m_home->path("share/Trellin/HelperState/%1.pinned").arg(FolderID::canonical(marked.id));
        QVERIFY(!dock.isFolderPinned(marked));
        QVERIFY(writeFile(marker, " 1\n"));
        QVERIFY(!dock.isFolderPinned(marked)); // not running
        m_running.insert(m_helperPaths[marked.id]);
        QVERIFY(dock.isFolderPinned(marked));
        QVERIFY(writeFile(marker, "11\n"));
        QVERIFY(!dock.isFolderPinned(marked));
    }

    void removeFolderTiles_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("xml") << int(Format::Xml);
        QTest::newRow("binary") << int(Format::Binary);
    }

    void removeFolderTiles() {
        QFETCH(int, format);
        const AppFolder folder = folderNamed("Work");
        m_helperPaths[folder.id] = helper("Work.app");
        makeHelper("Work.app", folder.id);
        makeHelper("Work 2.app", QUuid::createUuid());
        makeHelper("Renamed.app", folder.id);

        const QVariantMap current = tile(fileUrl(helper("../Helpers/Work.app")), qint64(15));
        const QVariantMap outside = tile("/Applications/Work.app", qint64(0), "Work");
        const QVariantMap gone = tile(fileUrl(helper("Old.app")), qint64(15), "Work");
        const QVariantMap sameNameOtherFolder = tile(fileUrl(helper("Work 2.app")), qint64(15), "Work");
        const QVariantMap stamped = tile(helper("Renamed.app/"), qint64(0), "X");
        const QVariantMap safari = tile("file:///Applications/Safari.app/", qint64(15));
        const QVariantMap unreadable = tile("Work.app", qint64(0), "Work");

        const QVariantMap original{
            {"persistent-apps", QVariantList{safari, current, "not a tile", outside, gone, sameNameOtherFolder, stamped,
                                             unreadable, qint64(3)}},
            {"persistent-others", QVariantList{QVariantMap{{"tile-type", "directory-tile"}}}},
            {"tilesize", 47.5},
            {"mod-count", qint64(812)},
            {"autohide", true},
            {"last-messagetrace-stamp", QDateTime(QDate(2024, 5, 1), QTime(12, 0), Qt::UTC)},
            {"far-future", QDateTime(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC)},
            {"long-ago", QDateTime(QDate(1900, 6, 1), QTime(12, 0), Qt::UTC)},
            {"largest", std::numeric_limits<quint64>::max()},
            {"archived", QVariantMap{{"CF$UID", qint64(3)}}},
            {"blob", QByteArray("\x00\x01\xff", 3)}};
        writeDock(original, Format(format));

        PlistPreferenceDomain domain = fileDomain();
        make(domain).removeFolderTilesFromDock(folder);

        const std::optional<PropertyList::Document> after = PropertyList::readFile(dockFile());
        QVERIFY(after);
        QCOMPARE(int(after->format), format);
        QVariantMap expected = original;
        expected["persistent-apps"] =
            QVariantList{safari, "not a tile", outside, sameNameOtherFolder, unreadable, qint64(3)};
        QCOMPARE(xmlOf(after->root), xmlOf(expected));

        const QList<Notification>& posted = m_home->distributedNotifications.posted;
        QCOMPARE(posted.size(), 1);
        QCOMPARE(posted.at(0).name, "com.apple.dock.prefchanged");
        QVERIFY(!posted.at(0).object.isValid());
        QVERIFY(posted.at(0).userInfo.isEmpty());

        // Nothing left to drop: the file is not touched again and the Dock is not told.
        const QByteArray bytes = readFile(dockFile());
        make(domain).removeFolderTilesFromDock(folder);
        QCOMPARE(readFile(dockFile()), bytes);
        QCOMPARE(posted.size(), 1);
    }

    void unparsableDockFileIsNeverRewritten() {
        const AppFolder folder = folderNamed("Work");
        m_helperPaths[folder.id] = helper("Work.app");
        const QList<QByteArray> broken{
            QByteArray("bplist00\x00\x01 truncated", 20),
            QByteArray("<?xml version=\"1.0\"?><plist><dict><key>persistent-apps"),
            *PropertyList::serialize(QVariantList{tile(fileUrl(m_helperPaths[folder.id]), qint64(15), "Work")},
                                     Format::Binary)};
        PlistPreferenceDomain domain = fileDomain();
        for (const QByteArray& content : broken) {
            QVERIFY(writeFile(dockFile(), content));
            DockPreferences dock = make(domain);
            QVERIFY(!dock.dockPersistentApps());
            QVERIFY(!dock.dockTileSize());
            dock.removeFolderTilesFromDock(folder);
            QString error;
            QVERIFY(!domain.setValue("tilesize", qint64(48), &error));
            QVERIFY(!error.isEmpty());
            QCOMPARE(readFile(dockFile()), content);
        }
        // A named pipe in the file's place is not read, waited on or replaced.
        QVERIFY(QFile::remove(dockFile()));
        QVERIFY(::mkfifo(QFile::encodeName(dockFile()).constData(), 0600) == 0);
        DockPreferences dock = make(domain);
        QVERIFY(!dock.dockPersistentApps());
        QVERIFY(!dock.isDockMagnificationEnabled());
        dock.removeFolderTilesFromDock(folder);
        QVERIFY(!QFileInfo(dockFile()).isFile() && QFileInfo::exists(dockFile()));
        QVERIFY(m_home->distributedNotifications.posted.isEmpty());
    }
};

QTEST_GUILESS_MAIN(DockPreferencesTest)
#include "DockPreferencesTest.moc"
