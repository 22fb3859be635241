// Applications named on a command line, and applications brought from another machine, found
// among real desktop entries and bundles.
#include "discovery/AppResolver.h"
#include "TestDesktopHome.h"
#include "platform/FolderLaunchers.h"
#include "platform/PropertyList.h"
#include "platform/linux/GioDesktopEntries.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

AppItem itemAt(const QString& name, const QString& bundleID, const QString& path, bool isBundle) {
    return AppItem{QUuid::createUuid(), name, bundleID, AppItem::fileURLForPath(path, isBundle)};
}

} // namespace

class AppResolverTest : public QObject {
    Q_OBJECT

    TestDesktopHome m_home;
    GioDesktopEntries m_entries;
    AppResolver m_resolver{m_entries, "uk", {m_home.path("Applications")}};

    QString bundle(const QString& relative, const QString& identifier) {
        QVariantMap info{{"CFBundleName", "Tool"}};
        if (!identifier.isEmpty())
            info.insert("CFBundleIdentifier", identifier);
        const QString path = m_home.path(relative);
        if (!QDir().mkpath(path + "/Contents/MacOS") ||
            !PropertyList::writeFileAtomically(path + "/Contents/Info.plist", info, PropertyList::Format::Xml))
            qFatal("cannot lay out %s", qPrintable(path));
        return path;
    }

private Q_SLOTS:
    void initTestCase() {
        m_home.writeEntry("system", "org.example.Editor", "Name=Editor\nName[uk]=Редактор");
        m_home.writeEntry("system", "vendor/tool", "Name=Vendor tool");
        m_home.writeEntry("system", "org.example.Quiet", "Name=Quiet\nNoDisplay=true");
        m_home.writeEntry("share", FolderLaunchers::mainEntryId().chopped(8), "Name=Trellin");
        QVERIFY(writeFile(m_home.path("Downloads/Portable.desktop"),
                          "[Desktop Entry]\nType=Application\nName=Portable\nExec=/bin/true\n"));
        QVERIFY(writeFile(m_home.path("Downloads/Link.desktop"), "[Desktop Entry]\nType=Link\nName=L\nURL=x\n"));
        QVERIFY(writeFile(m_home.path("Downloads/notes.txt"), "text"));
        QVERIFY(::mkfifo(QFile::encodeName(m_home.path("Downloads/Pipe.desktop")).constData(), 0600) == 0);
        QVERIFY(QDir().mkpath(m_home.path("Downloads/Empty.app")));
        bundle("Applications/Tool.app", "com.example.Tool");
    }

    void resolvesBundlesIdsAndEntryFiles() {
        QString error;
        // A desktop id, with or without its suffix.
        for (const char* app : {"org.example.Editor.desktop", "org.example.Editor"}) {
            std::optional<AppItem> item = m_resolver.resolve(app, &error);
            QVERIFY2(item, qPrintable(error));
            QCOMPARE(item->name, QString("Редактор"));
            QCOMPARE(item->bundleID, QString("org.example.Editor"));
            QCOMPARE(item->path(), m_home.path("system/applications/org.example.Editor.desktop"));
        }
        // An installed entry's file has the id the desktop gives it, not its file name.
        std::optional<AppItem> vendor =
            m_resolver.resolve(m_home.path("system/applications/vendor/tool.desktop"), &error);
        QVERIFY2(vendor, qPrintable(error));
        QCOMPARE(vendor->bundleID, QString("vendor-tool"));
        // An entry file anywhere else, by a relative path from where the command runs.
        QVERIFY(QDir::setCurrent(m_home.path("Downloads")));
        std::optional<AppItem> portable = m_resolver.resolve("./Portable.desktop", &error);
        QVERIFY2(portable, qPrintable(error));
        QCOMPARE(portable->bundleID, QString("Portable"));
        QCOMPARE(portable->path(), m_home.path("Downloads/Portable.desktop"));
        // A bundle, with its identifier.
        std::optional<AppItem> tool = m_resolver.resolve("../Applications/Tool.app", &error);
        QVERIFY2(tool, qPrintable(error));
        QCOMPARE(tool->bundleID, QString("com.example.Tool"));
        QCOMPARE(tool->appURL, AppItem::fileURLForPath(m_home.path("Applications/Tool.app"), true));
        QVERIFY(AppResolver::isInstalled(*tool));
    }

    void refusesWhatIsNoApplicationInOneLine() {
        const QString folderLauncher =
            m_home.path("share/applications/") + FolderLaunchers::entryId(QUuid::createUuid());
        QVERIFY(writeFile(folderLauncher, "[Desktop Entry]\nType=Application\nName=F\nExec=/bin/true\n"));
        const QList<QPair<QString, QString>> refused{
            {"", "no application given"},
            {m_home.path("nothing.app"), "no such file or folder"},
            {m_home.path("Downloads/Empty.app"), "no application bundle"},
            {m_home.path("Downloads/notes.txt"), "neither an application bundle nor a desktop entry"},
            {m_home.path("Downloads/Link.desktop"), "no desktop entry of an application"},
            // A named pipe is refused, not waited on.
            {m_home.path("Downloads/Pipe.desktop"), "no desktop entry of an application"},
            {m_home.path("system/applications/org.example.Quiet.desktop"), "no desktop entry of an application"},
            {"org.example.Missing.desktop", "no installed application has the desktop id"},
            {".desktop", "is no desktop id"},
            {FolderLaunchers::mainEntryId(), "Trellin's own launchers"},
            {folderLauncher, "Trellin's own launchers"},
        };
        for (const auto& [app, why] : refused) {
            QString error;
            QVERIFY2(!m_resolver.resolve(app, &error), qPrintable(app));
            QVERIFY2(error.contains(why) && !error.contains(u'\n'), qPrintable(app + ": " + error));
        }
    }

    void relocatesWhatIsMissingToWhereItIsHere() {
        const AppItem elsewhereEntry =
            itemAt("Editor", "org.example.Editor", "/other/machine/applications/org.example.Editor.desktop", false);
        const AppItem elsewhereBundle = itemAt("My tool", "com.example.Tool", "/Applications/Tool.app", true);
        const AppItem nowhere = itemAt("Gone", "org.example.Gone", "/other/machine/Gone.desktop", false);
        const AppItem here = itemAt("Portable", "org.example.Editor", m_home.path("Downloads/Portable.desktop"), false);
        AppFolder folder(QUuid::createUuid(), "Work", "folder");
        folder.apps = {elsewhereEntry, nowhere, elsewhereBundle, here};
        AppFolder empty(QUuid::createUuid(), "Empty", "folder");

        const QList<AppFolder> moved = m_resolver.relocate({folder, empty});
        QCOMPARE(moved.size(), 2);
        QCOMPARE(moved[0].id, folder.id);
        QCOMPARE(moved[1].id, empty.id);
        const QList<AppItem>& apps = moved[0].apps;
        QCOMPARE(apps.size(), 4);
        // Moved to this machine's places, keeping ids and the user's names.
        QCOMPARE(apps[0].id, elsewhereEntry.id);
        QCOMPARE(apps[0].name, QString("Editor"));
        QCOMPARE(apps[0].path(), m_home.path("system/applications/org.example.Editor.desktop"));
        QCOMPARE(apps[2].id, elsewhereBundle.id);
        QCOMPARE(apps[2].name, QString("My tool"));
        QCOMPARE(apps[2].path(), m_home.path("Applications/Tool.app"));
        // What is not here stays as it was, to show as missing; what is already in place stays.
        QCOMPARE(apps[1], nowhere);
        QVERIFY(!AppResolver::isInstalled(apps[1]));
        QCOMPARE(apps[3], here);
        for (const AppItem& item : {apps[0], apps[2], apps[3]})
            QVERIFY(AppResolver::isInstalled(item));
    }
};

QTEST_GUILESS_MAIN(AppResolverTest)
#include "AppResolverTest.moc"
