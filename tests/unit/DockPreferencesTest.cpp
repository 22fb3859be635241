#include "helpers/DockPreferences.h"
#include "ConsoleCapture.h"
#include "FakeDistributedNotifications.h"
#include "model/AppFolder.h"
#include "model/FolderID.h"
#include "platform/PropertyList.h"
#include "platform/linux/PlistPreferenceDomain.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using PropertyList::Format;

namespace {

// Compared as XML, so a value coming back with another type shows as a difference.
QByteArray xmlOf(const QVariant& root) {
    return PropertyList::serialize(root, Format::Xml).value_or(QByteArray());
}

QVariantMap tile(const QString& location, const QVariant& type, const QString& label = QStringLiteral("App")) {
    QVariantMap fileData{{"_CFURLString", location}};
    if (type.isValid())
        fileData.insert(QStringLiteral("_CFURLStringType"), type);
    return {{"GUID", qint64(12345)},
            {"tile-type", "file-tile"},
            {"tile-data", QVariantMap{{"file-data", fileData}, {"file-label", label}, {"dock-extra", false}}}};
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
                *error = QStringLiteral("disk full");
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
    QTemporaryDir m_home;
    QString m_preferences;
    QString m_dockFile;
    QString m_helpersDir;
    QString m_stateDir;
    QHash<QUuid, QString> m_helperPaths;
    QSet<QString> m_running;
    FakeDistributedNotifications m_notifications;

    DockPreferences make(PreferenceDomain& domain) {
        DockPreferences::Helpers helpers;
        helpers.bundlePath = [this](const QUuid& id) -> std::optional<QString> {
            if (!m_helperPaths.contains(id))
                return std::nullopt;
            return m_helperPaths.value(id);
        };
        helpers.isRunning = [this](const QString& path) { return m_running.contains(path); };
        return DockPreferences(domain, m_notifications, m_dockFile, m_helpersDir, m_stateDir, helpers);
    }

    void writeDock(const QVariant& root, Format format) {
        QVERIFY(PropertyList::writeFileAtomically(m_dockFile, root, format));
    }

    void makeHelper(const QString& path, const QUuid& id) {
        QVERIFY(QDir().mkpath(path + QStringLiteral("/Contents")));
        const QVariantMap info{{"CFBundleName", "Helper"}, {"TRGroupUUID", FolderID::canonical(id)}};
        QVERIFY(PropertyList::writeFileAtomically(path + QStringLiteral("/Contents/Info.plist"), info, Format::Xml));
    }

    static QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init() {
        QVERIFY(m_home.isValid());
        QDir(m_home.path()).removeRecursively();
        m_preferences = m_home.path() + QStringLiteral("/Library/Preferences");
        m_dockFile = DockPreferences::standardDockPreferencesPath(m_home.path());
        m_helpersDir = m_home.path() + QStringLiteral("/.local/share/Trellin/Helpers");
        m_stateDir = m_home.path() + QStringLiteral("/.local/share/Trellin/HelperState");
        QVERIFY(QDir().mkpath(m_preferences));
        QVERIFY(QDir().mkpath(m_helpersDir));
        QVERIFY(QDir().mkpath(m_stateDir));
        m_helperPaths.clear();
        m_running.clear();
        m_notifications.posted.clear();
    }

    void tileFilePath_data() {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QVariant>("type");
        QTest::addColumn<QString>("expected"); // empty: none

        const QString escaped = QStringLiteral("file:///Users/me/App%20Support/Helpers/Work%20Stuff.app/");
        QTest::newRow("escaped URL, type 15")
            << escaped << QVariant(qint64(15)) << QStringLiteral("/Users/me/App Support/Helpers/Work Stuff.app");
        QTest::newRow("same text, type 0, is a relative path") << escaped << QVariant(qint64(0)) << QString();
        QTest::newRow("literal path, type 0, not decoded")
            << QStringLiteral("/Apps/My%20App.app/") << QVariant(qint64(0)) << QStringLiteral("/Apps/My%20App.app");
        QTest::newRow("dot-dot segments") << QStringLiteral("file:///H/Helpers/../Helpers/./Work.app/")
                                          << QVariant(qint64(15)) << QStringLiteral("/H/Helpers/Work.app");
        QTest::newRow("unescaped path, type 15") << QStringLiteral("/Applications/My App.app") << QVariant(qint64(15))
                                                 << QStringLiteral("/Applications/My App.app");
        QTest::newRow("not a file URL") << QStringLiteral("https://example.com/x.app") << QVariant(qint64(15))
                                        << QString();
    }

    void tileFilePath() {
        QFETCH(QString, location);
        QFETCH(QVariant, type);
        QFETCH(QString, expected);
        const std::optional<QString> path = DockPreferences::tileFilePath(tile(location, type));
        QCOMPARE(path.value_or(QString()), expected);
    }

    void sizesAndMagnification_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QVariantMap>("values");
        QTest::addColumn<double>("tileSize"); // -1: none
        QTest::addColumn<double>("largeSize");
        QTest::addColumn<bool>("magnification");

        for (const Format format : {Format::Xml, Format::Binary}) {
            const char* const name = format == Format::Xml ? "xml" : "binary";
            QTest::addRow("%s: integers, boolean", name)
                << int(format)
                << QVariantMap{{"tilesize", qint64(48)}, {"largesize", qint64(64)}, {"magnification", true}} << 48.0
                << 64.0 << true;
            QTest::addRow("%s: fractional tilesize, whole real, integer magnification", name)
                << int(format) << QVariantMap{{"tilesize", 47.5}, {"largesize", 64.0}, {"magnification", qint64(2)}}
                << -1.0 << 64.0 << true;
            QTest::addRow("%s: strings and zero", name)
                << int(format) << QVariantMap{{"tilesize", "48"}, {"magnification", qint64(0)}} << -1.0 << -1.0
                << false;
        }
    }

    void sizesAndMagnification() {
        QFETCH(int, format);
        QFETCH(QVariantMap, values);
        QFETCH(double, tileSize);
        QFETCH(double, largeSize);
        QFETCH(bool, magnification);
        writeDock(values, Format(format));
        PlistPreferenceDomain domain(m_preferences, DockPreferences::domainName);
        const DockPreferences dock = make(domain);
        QCOMPARE(dock.dockTileSize().value_or(-1), tileSize);
        QCOMPARE(dock.dockLargeSize().value_or(-1), largeSize);
        QCOMPARE(dock.isDockMagnificationEnabled(), magnification);
    }

    // The preference API answers first; the file only when the API has no usable value.
    void preferenceApiBeforeFile() {
        writeDock(QVariantMap{{"tilesize", qint64(48)},
                              {"magnification", qint64(2)},
                              {"persistent-apps", QVariantList{tile(QStringLiteral("/F.app"), QVariant())}}},
                  Format::Binary);
        FakeDomain domain;
        domain.values = {{"tilesize", qint64(36)},
                         {"largesize", 47.5},
                         {"persistent-apps", QVariantList{tile(QStringLiteral("/A.app"), QVariant()), "junk", qint64(5),
                                                          tile(QStringLiteral("/B.app"), QVariant())}}};
        const DockPreferences dock = make(domain);
        QCOMPARE(dock.dockTileSize().value_or(-1), 36.0);
        QVERIFY(!dock.dockLargeSize()); // neither source has an integer
        QVERIFY(dock.isDockMagnificationEnabled());

        const std::optional<QList<QVariantMap>> tiles = dock.dockPersistentApps();
        QVERIFY(tiles);
        QCOMPARE(tiles->size(), 2);
        QCOMPARE(DockPreferences::tileFilePath(tiles->at(1)).value_or(QString()), QStringLiteral("/B.app"));

        domain.values[QStringLiteral("persistent-apps")] = QStringLiteral("not an array");
        QCOMPARE(DockPreferences::tileFilePath(dock.dockPersistentApps().value().at(0)).value_or(QString()),
                 QStringLiteral("/F.app"));
    }

    void pinnedFromFileOrMarker() {
        const AppFolder listed(QUuid::createUuid(), QStringLiteral("Work"), QStringLiteral("folder"));
        const AppFolder marked(QUuid::createUuid(), QStringLiteral("Play"), QStringLiteral("folder"));
        const AppFolder unbuilt(QUuid::createUuid(), QStringLiteral("None"), QStringLiteral("folder"));
        m_helperPaths[listed.id] = m_helpersDir + QStringLiteral("/Work Stuff.app");
        m_helperPaths[marked.id] = m_helpersDir + QStringLiteral("/Play.app");
        // A stray entry in the list must not hide the tiles next to it.
        writeDock(
            QVariantMap{{"persistent-apps",
                         QVariantList{"junk", tile(fileUrl(m_helpersDir + QStringLiteral("/../Helpers/Work Stuff.app")),
                                                   qint64(15))}}},
            Format::Binary);
        PlistPreferenceDomain domain(m_preferences, DockPreferences::domainName);
        const DockPreferences dock = make(domain);
        QVERIFY(dock.dockPersistentAppPathsFromFile().contains(m_helperPaths[listed.id]));
        QVERIFY(dock.isFolderPinned(listed));
        QVERIFY(!dock.isFolderPinned(unbuilt));

        QFile marker(m_stateDir + u'/' + FolderID::canonical(marked.id) + QStringLiteral(".pinned"));
        QVERIFY(!dock.isFolderPinned(marked));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.write(" 1\n");
        marker.close();
        QVERIFY(!dock.isFolderPinned(marked)); // not running
        m_running.insert(m_helperPaths[marked.id]);
        QVERIFY(dock.isFolderPinned(marked));
        QVERIFY(marker.open(QIODevice::WriteOnly | QIODevice::Truncate));
        marker.write("11\n");
        marker.close();
        QVERIFY(!dock.isFolderPinned(marked));
    }

    void removeFolderTiles_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("xml") << int(Format::Xml);
        QTest::newRow("binary") << int(Format::Binary);
    }

    void removeFolderTiles() {
        QFETCH(int, format);
        const AppFolder folder(QUuid::createUuid(), QStringLiteral("Work"), QStringLiteral("folder"));
        const QUuid otherID = QUuid::createUuid();
        const QString helper = m_helpersDir + QStringLiteral("/Work.app");
        m_helperPaths[folder.id] = helper;
        makeHelper(helper, folder.id);
        makeHelper(m_helpersDir + QStringLiteral("/Work 2.app"), otherID);
        makeHelper(m_helpersDir + QStringLiteral("/Renamed.app"), folder.id);

        const QVariantMap current = tile(fileUrl(m_helpersDir + QStringLiteral("/../Helpers/Work.app")), qint64(15));
        const QVariantMap outside = tile(QStringLiteral("/Applications/Work.app"), qint64(0), QStringLiteral("Work"));
        const QVariantMap gone =
            tile(fileUrl(m_helpersDir + QStringLiteral("/Old.app")), qint64(15), QStringLiteral("Work"));
        const QVariantMap sameNameOtherFolder =
            tile(fileUrl(m_helpersDir + QStringLiteral("/Work 2.app")), qint64(15), QStringLiteral("Work"));
        const QVariantMap stamped =
            tile(m_helpersDir + QStringLiteral("/Renamed.app/"), qint64(0), QStringLiteral("X"));
        const QVariantMap safari = tile(QStringLiteral("file:///Applications/Safari.app/"), qint64(15));
        const QVariantMap unreadable = tile(QStringLiteral("Work.app"), qint64(0), QStringLiteral("Work"));

        const QVariantMap original{
            {"persistent-apps", QVariantList{safari, current, "not a tile", outside, gone, sameNameOtherFolder, stamped,
                                             unreadable, qint64(3)}},
            {"persistent-others", QVariantList{QVariantMap{{"tile-type", "directory-tile"}}}},
            {"tilesize", 47.5},
            {"mod-count", qint64(812)},
            {"autohide", true},
            {"last-messagetrace-stamp", QDateTime(QDate(2024, 5, 1), QTime(12, 0), Qt::UTC)},
            {"blob", QByteArray("\x00\x01\xff", 3)}};
        writeDock(original, Format(format));

        PlistPreferenceDomain domain(m_preferences, DockPreferences::domainName);
        make(domain).removeFolderTilesFromDock(folder);

        const std::optional<PropertyList::Document> after = PropertyList::readFile(m_dockFile);
        QVERIFY(after);
        QCOMPARE(int(after->format), format);
        QVariantMap expected = original;
        expected[QStringLiteral("persistent-apps")] =
            QVariantList{safari, "not a tile", outside, sameNameOtherFolder, unreadable, qint64(3)};
        QCOMPARE(xmlOf(after->root), xmlOf(expected));

        QCOMPARE(m_notifications.posted.size(), 1);
        QCOMPARE(m_notifications.posted.at(0).name, QStringLiteral("com.apple.dock.prefchanged"));
        QVERIFY(!m_notifications.posted.at(0).object.isValid());
        QVERIFY(m_notifications.posted.at(0).userInfo.isEmpty());

        // Nothing left to drop: the file is not touched again and the Dock is not told.
        const QByteArray bytes = bytesOf(m_dockFile);
        make(domain).removeFolderTilesFromDock(folder);
        QCOMPARE(bytesOf(m_dockFile), bytes);
        QCOMPARE(m_notifications.posted.size(), 1);
    }

    void unparsableDockFileIsNeverRewritten() {
        const AppFolder folder(QUuid::createUuid(), QStringLiteral("Work"), QStringLiteral("folder"));
        m_helperPaths[folder.id] = m_helpersDir + QStringLiteral("/Work.app");
        const QList<QByteArray> broken{QByteArray("bplist00\x00\x01 truncated", 20),
                                       QByteArray("<?xml version=\"1.0\"?><plist><dict><key>persistent-apps"),
                                       *PropertyList::serialize(QVariantList{tile(fileUrl(m_helperPaths[folder.id]),
                                                                                  qint64(15), QStringLiteral("Work"))},
                                                                Format::Binary)};
        PlistPreferenceDomain domain(m_preferences, DockPreferences::domainName);
        for (const QByteArray& content : broken) {
            QFile file(m_dockFile);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(content);
            file.close();

            DockPreferences dock = make(domain);
            QVERIFY(!dock.dockPersistentApps());
            QVERIFY(!dock.dockTileSize());
            dock.removeFolderTilesFromDock(folder);
            QString error;
            QVERIFY(!domain.setValue(QStringLiteral("tilesize"), qint64(48), &error));
            QVERIFY(!error.isEmpty());
            QCOMPARE(bytesOf(m_dockFile), content);
        }
        QVERIFY(m_notifications.posted.isEmpty());
    }

    void failedWriteIsReportedAndNotAnnounced() {
        const AppFolder folder(QUuid::createUuid(), QStringLiteral("Work"), QStringLiteral("folder"));
        FakeDomain domain;
        domain.values[QStringLiteral("persistent-apps")] =
            QVariantList{tile(fileUrl(m_helpersDir + QStringLiteral("/Work.app")), qint64(15), QStringLiteral("Work"))};
        domain.writable = false;
        ConsoleCapture console;
        make(domain).removeFolderTilesFromDock(folder);
        QCOMPARE(console.lines,
                 QStringList{QStringLiteral("[HelperManager] Failed to update Dock preferences: disk full")});
        QVERIFY(m_notifications.posted.isEmpty());
    }
};

QTEST_GUILESS_MAIN(DockPreferencesTest)
#include "DockPreferencesTest.moc"
