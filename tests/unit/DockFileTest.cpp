// The Dock's preferences file as the Dock reads and rewrites it: its shape and sizes, and the kept
// tiles it writes for the other programs that read the same file.
#include "dock/DockFile.h"
#include "platform/DockFileFormat.h"
#include "platform/PropertyList.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

QVariantMap tileOf(const QString& url, const QVariant& label = "Kept") {
    return {{"tile-data", QVariantMap{{"file-data", QVariantMap{{"_CFURLString", url}, {"_CFURLStringType", 15}}},
                                      {"file-label", label}}},
            {"GUID", 1234}};
}

} // namespace

class DockFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath("com.apple.dock.plist"); }
    void write(const QVariantMap& root, PropertyList::Format format = PropertyList::Format::Binary) {
        QVERIFY(PropertyList::writeFileAtomically(path(), root, format));
    }
    std::optional<PropertyList::Document> stored() const { return PropertyList::readFile(path()); }

private Q_SLOTS:
    void cleanup() { QFile::remove(path()); }

    void configurationDefaultsAndRanges_data() {
        QTest::addColumn<QVariantMap>("root");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("tileSize");
        QTest::addColumn<int>("largeSize");
        QTest::addColumn<bool>("magnification");
        QTest::newRow("empty") << QVariantMap{} << int(DockOrientation::Bottom) << 48 << 128 << false;
        QTest::newRow("left, real sizes rounded")
            << QVariantMap{{"orientation", "left"}, {"tilesize", 55.6}, {"largesize", 90}, {"magnification", true}}
            << int(DockOrientation::Left) << 56 << 90 << true;
        QTest::newRow("right, sizes clamped")
            << QVariantMap{{"orientation", "right"}, {"tilesize", 4000}, {"largesize", 2}, {"magnification", 1}}
            << int(DockOrientation::Right) << 128 << 128 << true;
        QTest::newRow("unknown orientation, sizes of the wrong type")
            << QVariantMap{{"orientation", "top"}, {"tilesize", "64"}, {"magnification", "YES"}}
            << int(DockOrientation::Bottom) << 48 << 128 << false;
    }
    void configurationDefaultsAndRanges() {
        QFETCH(QVariantMap, root);
        const DockConfiguration configuration = DockConfiguration::fromPreferences(root);
        QTEST(int(configuration.orientation), "orientation");
        QTEST(configuration.tileSize, "tileSize");
        QTEST(configuration.largeSize, "largeSize");
        QTEST(configuration.magnification, "magnification");
    }

    void keptTilesInOrderOnceEach() {
        write({{"persistent-apps",
                QVariantList{tileOf("file:///A%20B.app/", "Work"), "not a tile", tileOf("file:///C.app/", " "),
                             tileOf("file:///A%20B.app", "Later"), tileOf("file:///D.app/", 7)}}});
        const std::optional<DockConfiguration> configuration = DockFile(m_dir.path()).read();
        QVERIFY(configuration);
        QCOMPARE(configuration->persistentApps, QStringList({"/A B.app", "/C.app", "/D.app"}));
        // The label the file gives is the tile's name; a blank or non-text one leaves the bundle's.
        QCOMPARE(configuration->persistentLabels, (QHash<QString, QString>{{"/A B.app", "Work"}}));
    }

    // A kept tile must be read back by the other reader of the file, and nothing else in the file
    // may change: its other keys, its other entries (tiles or not) and its format.
    void keepAndRemoveRewriteOnlyTheirTile() {
        const QVariantList others{tileOf("file:///Other.app/"), QVariantMap{{"tile-type", "spacer-tile"}}};
        write({{"persistent-apps", others}, {"tilesize", 40}, {"mod-count", 7}});
        DockFile file(m_dir.path());
        bool changed = false;
        QString error;

        QVERIFY(file.keep("/Apps/Work Stuff.app", "Work Stuff", "app.trellin.Trellin", &changed, &error));
        QVERIFY(changed);
        std::optional<PropertyList::Document> document = stored();
        QCOMPARE(document->format, PropertyList::Format::Binary);
        QVariantMap root = document->root.toMap();
        QCOMPARE(root.value("tilesize"), QVariant(40));
        QCOMPARE(root.value("mod-count"), QVariant(7));
        const QVariantList kept = root.value("persistent-apps").toList();
        QCOMPARE(kept.size(), 3);
        QCOMPARE(kept.mid(0, 2), others);
        const QVariantMap tileData = kept.at(2).toMap().value("tile-data").toMap();
        QCOMPARE(tileData.value("file-data").toMap().value("_CFURLString").toString(),
                 "file:///Apps/Work%20Stuff.app/");
        QCOMPARE(tileData.value("file-data").toMap().value("_CFURLStringType"), QVariant(15));
        QCOMPARE(tileData.value("file-label").toString(), "Work Stuff");
        QCOMPARE(tileData.value("bundle-identifier").toString(), "app.trellin.Trellin");
        QCOMPARE(DockFileFormat::tileFilePath(kept.at(2).toMap()), "/Apps/Work Stuff.app");

        QVERIFY(file.keep("/Apps/Work Stuff.app/", "Work Stuff", {}, &changed, &error));
        QVERIFY2(!changed, "a kept application is kept once");

        QVERIFY(file.remove("/Apps/Work Stuff.app", &changed, &error));
        QVERIFY(changed);
        root = stored()->root.toMap();
        QCOMPARE(root.value("persistent-apps").toList(), others);
        QCOMPARE(root.value("mod-count"), QVariant(7));

        QVERIFY(file.remove("/Apps/Never.app", &changed, &error));
        QVERIFY(!changed);
    }

    void keepingIntoAMissingFileCreatesIt() {
        bool changed = false;
        QString error;
        QVERIFY(DockFile(m_dir.path()).keep("/A.app", "A", {}, &changed, &error));
        QCOMPARE(DockFile(m_dir.path()).read()->persistentApps, QStringList{"/A.app"});
    }

    // The file belongs to the user's Dock: what cannot be read is reported and left as it is.
    void anUnreadableFileIsNeverRewritten_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not a property list") << QByteArray("{ half a file");
        QTest::newRow("an array") << PropertyList::serialize(QVariantList{1}, PropertyList::Format::Xml).value();
        QTest::newRow("persistent-apps not an array")
            << PropertyList::serialize(QVariantMap{{"persistent-apps", "x"}}, PropertyList::Format::Xml).value();
    }
    void anUnreadableFileIsNeverRewritten() {
        QFETCH(QByteArray, bytes);
        QVERIFY(writeFile(path(), bytes));
        DockFile file(m_dir.path());
        bool changed = true;
        QString error;
        QVERIFY(!file.keep("/A.app", "A", {}, &changed, &error));
        QVERIFY(!changed);
        QVERIFY(!error.isEmpty());
        QVERIFY(!file.remove("/A.app", &changed, &error));
        QCOMPARE(readFile(path()), bytes);
    }
};

QTEST_GUILESS_MAIN(DockFileTest)
#include "DockFileTest.moc"
