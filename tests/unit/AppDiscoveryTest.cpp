#include "discovery/AppDiscovery.h"
#include "ListedDesktop.h"
#include "platform/DesktopEntries.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Writes <dir>/<name> as a bundle whose Info.plist holds `info` (none: no Info.plist at all).
QString makeBundle(const QString& dir, const QString& name, const std::optional<QVariantMap>& info) {
    const QString path = dir + "/" + name;
    QDir().mkpath(path + "/Contents/MacOS");
    if (info)
        PropertyList::writeFileAtomically(path + "/Contents/Info.plist", *info, PropertyList::Format::Xml);
    return path;
}

QVariantMap identified(const QString& identifier, const QString& name = {}) {
    QVariantMap info{{"CFBundleIdentifier", identifier}};
    if (!name.isNull())
        info.insert("CFBundleName", name);
    return info;
}

QStringList names(const QList<AppItem>& items) {
    QStringList result;
    for (const AppItem& item : items)
        result << item.name;
    return result;
}

} // namespace

class AppDiscoveryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesComeFromTheInfoPlistThenTheFileName() {
        QTemporaryDir dir;
        QVariantMap both = identified("a.both", "Bundle Name");
        both.insert("CFBundleDisplayName", "Display Name");
        QVariantMap emptyDisplay = identified("a.empty", "Bundle Name");
        emptyDisplay.insert("CFBundleDisplayName", "");
        QVariantMap numberDisplay = identified("a.number", "Bundle Name");
        numberDisplay.insert("CFBundleDisplayName", 42);

        const auto nameOf = [&](const QString& file, const QVariantMap& info) {
            const std::optional<AppItem> item = AppDiscovery::makeAppItem(makeBundle(dir.path(), file, info));
            return item ? item->name : QString("<none>");
        };
        QCOMPARE(nameOf("Both.app", both), QString("Display Name"));
        QCOMPARE(nameOf("Plain.app", identified("a.plain", "Bundle Name")), QString("Bundle Name"));
        QCOMPARE(nameOf("Preview.app", identified("a.preview")), QString("Preview"));
        QCOMPARE(nameOf("My.Tool.app", identified("a.tool")), QString("My.Tool"));
        QCOMPARE(nameOf("Empty.app", emptyDisplay), QString(""));
        QCOMPARE(nameOf("Number.app", numberDisplay), QString("Bundle Name"));

        const std::optional<AppItem> item = AppDiscovery::makeAppItem(dir.path() + "/Plain.app");
        QVERIFY(item);
        QCOMPARE(item->bundleID, QString("a.plain"));
        QVERIFY(item->appURL.startsWith("file://") && item->appURL.endsWith("/Plain.app/"));
        QCOMPARE(item->path(), dir.path() + "/Plain.app");
    }

    void bundlesWithoutAnIdentifierAreNoApplications() {
        QTemporaryDir dir;
        QCOMPARE(AppDiscovery::makeAppItem(makeBundle(dir.path(), "NoPlist.app", std::nullopt)), std::nullopt);
        QCOMPARE(AppDiscovery::makeAppItem(makeBundle(dir.path(), "NoId.app", QVariantMap{{"CFBundleName", "X"}})),
                 std::nullopt);
        QCOMPARE(AppDiscovery::makeAppItem(makeBundle(dir.path(), "Blank.app", identified(""))), std::nullopt);
        QCOMPARE(AppDiscovery::makeAppItem(makeBundle(dir.path(), "Num.app", QVariantMap{{"CFBundleIdentifier", 7}})),
                 std::nullopt);
        QVERIFY(QDir(dir.path()).mkpath("Broken.app/Contents"));
        QFile broken(dir.path() + "/Broken.app/Contents/Info.plist");
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("<plist><dict><key>") > 0);
        broken.close();
        QCOMPARE(AppDiscovery::makeAppItem(dir.path() + "/Broken.app"), std::nullopt);
        QVERIFY(QFile(dir.path() + "/File.app").open(QIODevice::WriteOnly));
        QCOMPARE(AppDiscovery::makeAppItem(dir.path() + "/File.app"), std::nullopt);
        QCOMPARE(AppDiscovery::makeAppItem(dir.path() + "/Missing.app"), std::nullopt);
    }

    void theScanKeepsTheFirstHolderOfAnIdentifierAndSortsWithoutRegardToCase() {
        QTemporaryDir root;
        const QString first = root.path() + "/Applications";
        const QString later = root.path() + "/System/Applications";
        makeBundle(first, "Mail.app", identified("com.example.mail", "Mail (first)"));
        makeBundle(later, "Mail.app", identified("com.example.mail", "Mail (later)"));
        makeBundle(first, "zebra.app", identified("z", "zebra"));
        makeBundle(later, "Apple.app", identified("a", "Apple"));
        makeBundle(first, "banana.app", identified("b", "banana"));
        // Not considered: another suffix's case, more after ".app", a subfolder, a missing folder.
        makeBundle(first, "Upper.App", identified("upper"));
        makeBundle(first, "Backup.app.old", identified("backup"));
        makeBundle(first + "/Games", "Chess.app", identified("chess"));

        const AppDiscovery discovery({.bundleDirectories = {first, root.path() + "/Missing", later},
                                      .desktopEntries = nullptr,
                                      .language = [] { return QString("en"); }});
        const QList<AppItem> items = discovery.scanApplications();
        QCOMPARE(names(items), (QStringList{"Apple", "banana", "Mail (first)", "zebra"}));

        // Every scan looks again and gives fresh ids.
        const QList<AppItem> again = discovery.scanApplications();
        QCOMPARE(again.size(), items.size());
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(again[i].bundleID, items[i].bundleID);
            QCOMPARE(again[i].appURL, items[i].appURL);
            QVERIFY(again[i].id != items[i].id && !again[i].id.isNull());
        }
        makeBundle(later, "New.app", identified("new", "New"));
        QCOMPARE(discovery.scanApplications().size(), items.size() + 1);
    }

    void desktopEntriesFollowTheBundlesAndSortInTheInterfaceLanguage() {
        QTemporaryDir root;
        makeBundle(root.path(), "Editor.app", identified("org.example.Editor", "Editor (bundle)"));
        ListedEntries entries;
        entries.entries = {
            {"org.example.Editor", "/usr/share/applications/org.example.Editor.desktop", "Editor (entry)"},
            {"org.example.Ygrek", "/usr/share/applications/org.example.Ygrek.desktop", "Яблуко"},
            {"org.example.Ganok", "/usr/share/applications/org.example.Ganok.desktop", "ґанок"},
            {"org.example.Gra", "/usr/share/applications/org.example.Gra.desktop", "Гра"},
        };
        QString language = "uk";
        const AppDiscovery discovery({.bundleDirectories = {root.path()},
                                      .desktopEntries = &entries,
                                      .language = [&language] { return language; }});
        // Ukrainian collation puts Cyrillic before Latin and Ґ after Г; English takes Ґ for a kind of Г.
        const QList<AppItem> items = discovery.scanApplications();
        QCOMPARE(entries.askedLanguage, QString("uk"));
        QCOMPARE(names(items), (QStringList{"Гра", "ґанок", "Яблуко", "Editor (bundle)"}));
        language = "en";
        QCOMPARE(names(discovery.scanApplications()), (QStringList{"Editor (bundle)", "ґанок", "Гра", "Яблуко"}));
        QCOMPARE(entries.askedLanguage, QString("en"));
        const AppItem& entry = items[1];
        QCOMPARE(entry.bundleID, QString("org.example.Ganok"));
        QCOMPARE(entry.appURL, QString("file:///usr/share/applications/org.example.Ganok.desktop"));
        QCOMPARE(entry.path(), QString("/usr/share/applications/org.example.Ganok.desktop"));
    }

    // The launchers Trellin writes for the dock are no applications to pick: a folder in a folder,
    // or Trellin in its own folder. Entries that merely look like them stay.
    void trellinsOwnLaunchersAreNotListed() {
        const QUuid folder = QUuid::createUuid();
        const QString upper = folder.toString(QUuid::WithoutBraces).toUpper();
        const QString data = "/home/u/.local/share/applications/";
        ListedEntries entries;
        entries.entries = {
            {"trellin", data + "trellin.desktop", "Trellin"},
            {"trellin-folder-" + upper, data + "trellin-folder-" + upper + ".desktop", "Work"},
            {"trellin-folder-" + upper.toLower(), data + "x.desktop", "Lower-case id"},
            {"trellin-folder-notes", data + "trellin-folder-notes.desktop", "Folder Notes"},
            {"vendor-trellin", data + "vendor/trellin.desktop", "Vendor Trellin"},
            {"org.example.Editor", "/usr/share/applications/org.example.Editor.desktop", "Editor"},
        };
        const AppDiscovery discovery({.bundleDirectories = {}, .desktopEntries = &entries, .language = {}});
        QCOMPARE(names(discovery.scanApplications()),
                 (QStringList{"Editor", "Folder Notes", "Lower-case id", "Vendor Trellin"}));
    }
};

QTEST_GUILESS_MAIN(AppDiscoveryTest)
#include "AppDiscoveryTest.moc"
