// Launchers as docks read them: GIO loads each written entry and starts what its Exec line says,
// and the files beside it are checked the way a dock's icon cache and a careful user would.
#include "platform/linux/XdgFolderLaunchers.h"
#include "platform/FileSystem.h"
#include "platform/linux/GioDesktopEntries.h"

#include "ProcessChildren.h"
#include "TestFiles.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <gio/gdesktopappinfo.h>
#include <sys/stat.h>

namespace {

const QUuid kFolder = QUuid::fromString(QStringLiteral("6f1c2a4e-0b7d-4e58-9a3c-2d8e5f7a9b10"));
const QString kFolderText = QStringLiteral("6F1C2A4E-0B7D-4E58-9A3C-2D8E5F7A9B10");

QImage tile(QColor colour, int size = 256) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

ino_t inodeOf(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

QStringList entriesIn(const QString& directory) {
    return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
}

// A key of the entry as GIO reads it.
QString gioValue(const QString& entry, const char* key) {
    GKeyFile* keys = g_key_file_new();
    QString value;
    if (g_key_file_load_from_file(keys, QFile::encodeName(entry).constData(), G_KEY_FILE_NONE, nullptr)) {
        gchar* text = g_key_file_get_string(keys, G_KEY_FILE_DESKTOP_GROUP, key, nullptr);
        value = QString::fromUtf8(text);
        g_free(text);
    }
    g_key_file_free(keys);
    return value;
}

} // namespace

class XdgFolderLaunchersTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;

    QString path(const QString& relative) const { return m_root.filePath(relative); }

private Q_SLOTS:
    void init() {
        QVERIFY(QDir(m_root.path()).removeRecursively());
        QVERIFY(QDir().mkpath(m_root.path()));
    }

    void entryHoldsWhatDocksRead() {
        XdgFolderLaunchers launchers(path("applications"), path("Trellin/LauncherPictures"));
        const QString helper = path("Helper.app/Contents/MacOS/Trellin");
        QCOMPARE(launchers.write(kFolder, {"Work", {helper, "-group", kFolderText}, {}, tile(Qt::red, 64)}),
                 std::nullopt);

        QCOMPARE(entriesIn(path("applications")), QStringList{"trellin-folder-" + kFolderText + ".desktop"});
        const QStringList pictures = entriesIn(path("Trellin/LauncherPictures"));
        QCOMPARE(pictures.size(), 1);
        const QString picture = path("Trellin/LauncherPictures/") + pictures.first();
        QVERIFY(pictures.first().startsWith("trellin-folder-" + kFolderText + "-"));
        // Drawn small, shown large.
        QCOMPARE(QImage(picture).size(), QSize(256, 256));
        const QString expected = "[Desktop Entry]\nType=Application\nName=Work\nExec=\"" + helper + "\" \"-group\" \"" +
                                 kFolderText + "\"\nIcon=" + picture + "\nStartupWMClass=trellin-folder-" +
                                 kFolderText + "\nStartupNotify=false\n";
        QCOMPARE(QString::fromUtf8(readFile(launchers.entryPath(FolderLaunchers::entryId(kFolder)))), expected);

        QCOMPARE(launchers.write(kFolder, {"Work", {}, {}, tile(Qt::red)}),
                 QStringLiteral("no program to start for ") + FolderLaunchers::entryId(kFolder));
        QVERIFY(launchers.write(kFolder, {"Work", {helper}, {}, QImage()}).has_value());
        QCOMPARE(readFile(launchers.entryPath(FolderLaunchers::entryId(kFolder))), expected.toUtf8());
    }

    void hostileTextRoundTripsThroughGio_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("spaces at the ends") << "  My Apps  ";
        QTest::newRow("quotes and shell") << R"(say "hi" it's $HOME `id` ;|&*?)";
        QTest::newRow("percent signs") << "100% %c %u %f %% %";
        QTest::newRow("escapes") << "back\\slash \\n \\s tab\there";
        QTest::newRow("line breaks") << "two\nlines\r\nHidden=true";
        QTest::newRow("non-ASCII") << "Робота — 日本語 🎨";
    }

    // The name, the picture's path and the program's path all reach GIO as written.
    void hostileTextRoundTripsThroughGio() {
        QFETCH(QString, text);
        const QString program = path(text + "/Helper.app/Contents/MacOS/Trellin");
        const QString log = path("started-as");
        // Records every word it was started with.
        QVERIFY(writeFile(program, "#!/bin/sh\nprintf '%s\\0' \"$0\" \"$@\" > \"$TRELLIN_LAUNCHER_LOG\"\n"));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("TRELLIN_LAUNCHER_LOG", QFile::encodeName(log));

        XdgFolderLaunchers launchers(path("applications"), path(text + "/pictures"));
        const QStringList command{program, "-group", text};
        QCOMPARE(launchers.write(kFolder, {text, command, {}, tile(Qt::blue)}), std::nullopt);
        const QString entry = launchers.entryPath(FolderLaunchers::entryId(kFolder));
        QCOMPARE(gioValue(entry, "Hidden"), QString());

        GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(QFile::encodeName(entry).constData());
        QVERIFY(info);
        QCOMPARE(QString::fromUtf8(g_app_info_get_name(G_APP_INFO(info))), text);
        QCOMPARE(QString::fromUtf8(g_desktop_app_info_get_startup_wm_class(info)),
                 FolderLaunchers::windowClass(kFolder));
        GIcon* icon = g_app_info_get_icon(G_APP_INFO(info));
        QVERIFY(G_IS_FILE_ICON(icon));
        gchar* iconPath = g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon)));
        QCOMPARE(QFile::decodeName(iconPath), path(text + "/pictures/") + entriesIn(path(text + "/pictures")).value(0));
        QVERIFY(!QImage(QFile::decodeName(iconPath)).isNull());
        g_free(iconPath);
        g_object_unref(info);

        QCOMPARE(GioDesktopEntries().launch(entry, {}), std::nullopt);
        QTRY_COMPARE(readFile(log).split('\0'),
                     (QList<QByteArray>{QFile::encodeName(program), "-group", text.toUtf8(), QByteArray()}));
        QTRY_COMPARE(childrenOfThisProcess(), QStringList());
    }

    // A dock keeps a picture by its path: a changed tile gets a new one, and the old one goes once
    // the entry no longer names it. What is unchanged is not touched.
    void picturesFollowTheTile() {
        XdgFolderLaunchers launchers(path("applications"), path("pictures"));
        const QString entry = launchers.entryPath(FolderLaunchers::entryId(kFolder));
        const QStringList command{"/opt/Helper.app/Contents/MacOS/Trellin", "-group", kFolderText};
        // Another folder's picture and a file of the user's share the folder.
        const QUuid other = QUuid::createUuid();
        QCOMPARE(launchers.write(other, {"Other", command, {}, tile(Qt::green)}), std::nullopt);
        QVERIFY(writeFile(path("pictures/notes.png"), "mine"));

        QCOMPARE(launchers.write(kFolder, {"Work", command, {}, tile(Qt::red)}), std::nullopt);
        const QString red = gioValue(entry, "Icon");
        const ino_t entryInode = inodeOf(entry);
        const ino_t redInode = inodeOf(red);
        QCOMPARE(launchers.write(kFolder, {"Work", command, {}, tile(Qt::red)}), std::nullopt);
        QCOMPARE(inodeOf(entry), entryInode);
        QCOMPARE(inodeOf(red), redInode);

        QCOMPARE(launchers.write(kFolder, {"Work", command, {}, tile(Qt::blue)}), std::nullopt);
        const QString blue = gioValue(entry, "Icon");
        QVERIFY(blue != red && QFile::exists(blue));
        QVERIFY(!QFile::exists(red));

        // A new name changes the entry, not its file name nor its picture.
        QCOMPARE(launchers.write(kFolder, {"Projects", command, {}, tile(Qt::blue)}), std::nullopt);
        QCOMPARE(gioValue(entry, "Name"), QString("Projects"));
        QCOMPARE(gioValue(entry, "Icon"), blue);
        QVERIFY(QFile::exists(blue));
        QCOMPARE(entriesIn(path("applications")).size(), 2);

        QCOMPARE(launchers.remove(kFolder), std::nullopt);
        QVERIFY(!QFile::exists(entry) && !QFile::exists(blue));
        QCOMPARE(launchers.remove(kFolder), std::nullopt);
        QCOMPARE(entriesIn(path("applications")), QStringList{FolderLaunchers::entryId(other)});
        QCOMPARE(entriesIn(path("pictures")).size(), 2);
        QVERIFY(QFile::exists(path("pictures/notes.png")));
    }

    // Links planted among the launchers' files are replaced or refused, never written through, and
    // what they lead to is left as it was.
    void linksAreNotFollowed() {
        QVERIFY(writeFile(path("outside/victim"), "keep"));
        QVERIFY(QDir().mkpath(path("applications")));
        const QString entryId = FolderLaunchers::entryId(kFolder);
        QVERIFY(QFile::link(path("outside/victim"), path("applications/") + entryId));
        XdgFolderLaunchers launchers(path("applications"), path("pictures"));
        const QStringList command{"/opt/Trellin", "-group", kFolderText};
        QCOMPARE(launchers.write(kFolder, {"Work", command, {}, tile(Qt::red)}), std::nullopt);
        QVERIFY(!QFileInfo(launchers.entryPath(entryId)).isSymLink());
        QCOMPARE(gioValue(launchers.entryPath(entryId), "Name"), QString("Work"));

        // Shaped like the folder's pictures: a link goes as itself, a folder stays.
        const QString stem = path("pictures/trellin-folder-") + kFolderText;
        QVERIFY(QFile::link(path("outside/victim"), stem + "-0123456789abcdef.png"));
        QVERIFY(QDir().mkpath(stem + "-fedcba9876543210.png/inside"));
        QCOMPARE(launchers.write(kFolder, {"Work", command, {}, tile(Qt::blue)}), std::nullopt);
        QVERIFY(!FileSystem::entryExists(stem + "-0123456789abcdef.png"));
        QVERIFY(QFileInfo::exists(stem + "-fedcba9876543210.png/inside"));
        QCOMPARE(launchers.remove(kFolder), std::nullopt);
        QVERIFY(!FileSystem::entryExists(launchers.entryPath(entryId)));

        // The pictures folder itself: refused when a link.
        QVERIFY(QDir().mkpath(path("outside/pictures")));
        QVERIFY(QFile::link(path("outside/pictures"), path("linked")));
        XdgFolderLaunchers linked(path("applications"), path("linked"));
        QVERIFY(linked.write(kFolder, {"Work", command, {}, tile(Qt::red)}).has_value());
        QCOMPARE(entriesIn(path("outside/pictures")), QStringList());
        QVERIFY(!FileSystem::entryExists(launchers.entryPath(entryId)));
        QCOMPARE(readFile(path("outside/victim")), QByteArray("keep"));
    }

    void entryIdsNameFoldersExactly() {
        QCOMPARE(FolderLaunchers::entryId(kFolder), "trellin-folder-" + kFolderText + ".desktop");
        QCOMPARE(FolderLaunchers::folderOfEntry(FolderLaunchers::entryId(kFolder)), kFolder);
        for (const QString& id : QStringList{
                 "trellin-folder-" + kFolderText.toLower() + ".desktop", "trellin-folder-{" + kFolderText + "}.desktop",
                 "trellin-folder-" + kFolderText, "trellin-folder-" + kFolderText + ".desktop.desktop",
                 "trellin-folder-../" + kFolderText + ".desktop", "trellin-folder-.desktop",
                 "trellin-folder-garbage-0000-0000-0000-000000000000.desktop", FolderLaunchers::mainEntryId(),
                 "x-trellin-folder-" + kFolderText + ".desktop"})
            QVERIFY2(!FolderLaunchers::folderOfEntry(id), qPrintable(id));
    }

    // The main application's launcher is brought up to date at each start, and left alone when it is.
    void mainEntryIsRewrittenOnlyWhenStale() {
        XdgFolderLaunchers launchers(path("applications"), path("pictures"));
        const FolderLaunchers::Launcher main{
            "Trellin", {"/opt/Trellin.app/Contents/MacOS/Trellin"}, "Trellin", tile(Qt::darkCyan, 512)};
        const QString entry = launchers.entryPath(FolderLaunchers::mainEntryId());
        QCOMPARE(launchers.ensureMainEntry(main), std::nullopt);
        QCOMPARE(gioValue(entry, "StartupWMClass"), QString("Trellin"));
        QCOMPARE(gioValue(entry, "Exec"), QString("\"/opt/Trellin.app/Contents/MacOS/Trellin\""));
        QCOMPARE(QImage(gioValue(entry, "Icon")).size(), QSize(512, 512));
        const ino_t current = inodeOf(entry);
        QCOMPARE(launchers.ensureMainEntry(main), std::nullopt);
        QCOMPARE(inodeOf(entry), current);

        QVERIFY(writeFile(entry, readFile(entry).replace("Exec=", "Exec=/old")));
        QCOMPARE(launchers.ensureMainEntry(main), std::nullopt);
        QCOMPARE(gioValue(entry, "Exec"), QString("\"/opt/Trellin.app/Contents/MacOS/Trellin\""));

        FolderLaunchers::Launcher moved = main;
        moved.command = QStringList{"/elsewhere/Trellin.app/Contents/MacOS/Trellin"};
        QCOMPARE(launchers.ensureMainEntry(moved), std::nullopt);
        QCOMPARE(gioValue(entry, "Exec"), QString("\"/elsewhere/Trellin.app/Contents/MacOS/Trellin\""));
        QCOMPARE(entriesIn(path("pictures")).size(), 1);
    }
};

QTEST_GUILESS_MAIN(XdgFolderLaunchersTest)
#include "XdgFolderLaunchersTest.moc"
