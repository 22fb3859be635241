// Export and import of the folders document through a real home: a round trip through a wiped
// home, a document from another machine, and every document or file that must change nothing.
#include "discovery/FolderTransfer.h"
#include "TestDesktopHome.h"
#include "discovery/AppResolver.h"
#include "model/FolderCodec.h"
#include "platform/PropertyList.h"
#include "platform/linux/GioDesktopEntries.h"

#include <QtTest>

#include <sys/stat.h>

class FolderTransferTest : public QObject {
    Q_OBJECT

    TestDesktopHome m_home;
    GioDesktopEntries m_entries;
    AppResolver m_resolver{m_entries, "en", {m_home.path("Applications")}};
    QList<AppFolder> m_folders;

    QByteArray stored() const { return FolderCodec::encode(m_home.store->folders()).value(); }

    // Folders file, kept copies and all: what an import that refuses must leave as it was.
    QMap<QString, QByteArray> trellinFiles() const { return treeSnapshot(m_home.path("share/Trellin")); }

    std::optional<FolderStore::ImportResult> import(const QString& path, QString* error = nullptr) {
        return FolderTransfer::importFrom(path, *m_home.store, m_resolver, m_home.clock, error);
    }

    void wipeHome() {
        QVERIFY(QDir(m_home.path("share/Trellin")).removeRecursively());
        m_home.reopenStore();
        QVERIFY(m_home.store->folders().isEmpty());
    }

private Q_SLOTS:
    void initTestCase() {
        m_home.writeEntry("system", "org.example.Editor", "Name=Editor");
        QVERIFY(QDir().mkpath(m_home.path("out")));
        const QString tool = m_home.path("Applications/Tool.app");
        QVERIFY(QDir().mkpath(tool + "/Contents/MacOS"));
        QVERIFY(PropertyList::writeFileAtomically(tool + "/Contents/Info.plist",
                                                  QVariantMap{{"CFBundleIdentifier", "com.example.Tool"}},
                                                  PropertyList::Format::Xml));
        QString error;
        const AppItem editor = m_resolver.resolve("org.example.Editor", &error).value();
        const AppItem toolItem = m_resolver.resolve(tool, &error).value();
        const AppItem gone{QUuid::createUuid(), "Gone", "org.example.Gone",
                           AppItem::fileURLForPath("/opt/gone/Gone.desktop", false)};

        AppFolder work(QUuid::createUuid(), "Work", "briefcase.fill", 700'000'000.5);
        work.apps = {toolItem, editor, gone};
        work.isInDock = true;
        work.tileStyle.backgroundStyle = TileBackground::Custom;
        work.tileStyle.customHex = "3A7BD5";
        work.tileStyle.borderEnabled = true;
        AppFolder empty(QUuid::createUuid(), "Ünïcödé \"quoted\"", "folder", 700'000'001);
        empty.tileStyle.displayFolderIcon = true;
        AppFolder play(QUuid::createUuid(), "Play", "gamecontroller", 600'000'000);
        play.apps = {editor};
        m_folders = {play, work, empty};
    }

    void init() {
        wipeHome();
        m_home.store->setFolders(m_folders);
    }

    void aWipedHomeGetsTheSameFoldersBack() {
        const QByteArray before = stored();
        const QString document = m_home.path("out/folders.json");
        QString error;
        QVERIFY2(FolderTransfer::exportTo(document, *m_home.store, &error), qPrintable(error));

        wipeHome();
        const std::optional<FolderStore::ImportResult> result = import(document, &error);
        QVERIFY2(result, qPrintable(error));
        QCOMPARE(result->added, 3);
        // Ids, order, names, symbols, styles, Dock state, creation times and applications alike;
        // in the folders file too, as after a restart.
        QCOMPARE(stored(), before);
        m_home.reopenStore();
        QCOMPARE(stored(), before);

        // Importing it again changes nothing.
        const QMap<QString, QByteArray> files = trellinFiles();
        const std::optional<FolderStore::ImportResult> again = import(document, &error);
        QVERIFY2(again, qPrintable(error));
        QCOMPARE(again->added + again->updated, 0);
        QCOMPARE(again->unchanged, 3);
        QCOMPARE(trellinFiles(), files);
    }

    void aDocumentFromAnotherMachineFindsItsApplicationsHere() {
        const QString document = m_home.path("out/other.json");
        QVERIFY(FolderTransfer::exportTo(document, *m_home.store, nullptr));
        // The same applications, installed under another home there.
        QByteArray bytes = readFile(document);
        bytes.replace(QUrl::fromLocalFile(m_home.path()).toEncoded(), "file:///home/someone");
        QVERIFY(!bytes.contains(m_home.path().toUtf8()));
        QVERIFY(writeFile(document, bytes));

        wipeHome();
        QString error;
        QVERIFY2(import(document, &error), qPrintable(error));
        QCOMPARE(stored(), FolderCodec::encode(m_folders).value());
        const AppFolder& work = m_home.store->folders().at(1);
        QVERIFY(AppResolver::isInstalled(work.apps[0]) && AppResolver::isInstalled(work.apps[1]));
        QVERIFY(!AppResolver::isInstalled(work.apps[2]));
    }

    void whatIsNoDocumentChangesNothing() {
        const QString good = m_home.path("out/good.json");
        QVERIFY(FolderTransfer::exportTo(good, *m_home.store, nullptr));
        const QByteArray document = readFile(good);
        QByteArray damaged = document;
        damaged.replace("\"Play\"", "42");
        QByteArray future = document;
        future.replace("\"version\":1", "\"version\":2");
        QVERIFY(future != document);
        QByteArray foreign = document;
        foreign.replace("trellin-folders", "other-folders");

        const QMap<QString, QByteArray> documents{
            {"damaged.json", damaged},
            {"future.json", future},
            {"foreign.json", foreign},
            {"not-json.json", "{\"format\": \"trellin-folders\", "},
        };
        for (auto it = documents.cbegin(); it != documents.cend(); ++it)
            QVERIFY(writeFile(m_home.path("in/" + it.key()), it.value()));
        QVERIFY(::mkfifo(QFile::encodeName(m_home.path("in/pipe.json")).constData(), 0600) == 0);
        QVERIFY(QDir().mkpath(m_home.path("in/folder.json")));

        // Something the document would change, so that a partial import would show.
        AppFolder renamed = m_folders[0];
        renamed.name = "Renamed here";
        m_home.store->updateFolder(renamed);
        m_home.clock.advance(FolderStore::keepBurstInterval * 2);
        const QByteArray before = stored();
        const QMap<QString, QByteArray> files = trellinFiles();
        const QMap<QString, QString> expected{
            {"damaged.json", "the folders document is damaged"},
            {"future.json", "from a newer Trellin"},
            {"foreign.json", "not a Trellin folders document"},
            {"not-json.json", "not a Trellin folders document"},
            {"pipe.json", "cannot read"},
            {"folder.json", "cannot read"},
            {"missing.json", "cannot read"},
        };
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            QString error;
            QVERIFY2(!import(m_home.path("in/" + it.key()), &error), qPrintable(it.key()));
            QVERIFY2(error.contains(it.value()) && !error.contains(u'\n'), qPrintable(it.key() + ": " + error));
            QCOMPARE(stored(), before);
            QCOMPARE(trellinFiles(), files);
        }
    }

    void exportWritesOnlyAFile() {
        QString error;
        // Over a folder: refused, and the folder keeps what it holds.
        QVERIFY(writeFile(m_home.path("out/folder/keep.txt"), "mine"));
        QVERIFY(!FolderTransfer::exportTo(m_home.path("out/folder"), *m_home.store, &error));
        QVERIFY2(error.contains("is a folder"), qPrintable(error));
        QCOMPARE(readFile(m_home.path("out/folder/keep.txt")), QByteArray("mine"));

        // Into a folder that is not there: said, not reported done.
        QVERIFY(!FolderTransfer::exportTo(m_home.path("out/nowhere/folders.json"), *m_home.store, &error));
        QVERIFY2(error.startsWith("cannot write"), qPrintable(error));

        // Through a link to the user's file elsewhere: the file is replaced, the link stays.
        QVERIFY(writeFile(m_home.path("synced/folders.json"), "old"));
        QVERIFY(QFile::link(m_home.path("synced/folders.json"), m_home.path("out/link.json")));
        QVERIFY2(FolderTransfer::exportTo(m_home.path("out/link.json"), *m_home.store, &error), qPrintable(error));
        QVERIFY(QFileInfo(m_home.path("out/link.json")).isSymLink());
        QVERIFY(readFile(m_home.path("synced/folders.json")).startsWith("{\"format\":\"trellin-folders\""));
    }
};

QTEST_GUILESS_MAIN(FolderTransferTest)
#include "FolderTransferTest.moc"
