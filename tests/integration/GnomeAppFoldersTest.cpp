// GNOME's app-grid folders, read from GSettings (the key-file backend in a test home) and made
// into Trellin folders against real desktop entries; importing again refreshes without duplicating.
#include "ConsoleCapture.h"
#include "TestDesktopHome.h"
#include "discovery/GnomeFolderImport.h"
#include "model/FolderCodec.h"
#include "platform/linux/GioDesktopAppFolders.h"
#include "platform/linux/GioDesktopEntries.h"
#include "platform/linux/GioDesktopSettings.h"

#include <QtTest>

#include <gio/gio.h>

namespace {

// Writes one key the way GNOME's settings would, through GSettings.
void setFolderKey(const QString& id, const char* key, GVariant* value) {
    const QByteArray path = GioDesktopAppFolders::folderPath(id).toUtf8();
    GSettings* settings = g_settings_new_with_path("org.gnome.desktop.app-folders.folder", path.constData());
    QVERIFY(g_settings_set_value(settings, key, value));
    g_object_unref(settings);
}

GVariant* strings(const QStringList& list) {
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE_STRING_ARRAY);
    for (const QString& item : list)
        g_variant_builder_add(&builder, "s", item.toUtf8().constData());
    return g_variant_builder_end(&builder);
}

void setChildren(const QStringList& ids) {
    GSettings* settings = g_settings_new("org.gnome.desktop.app-folders");
    QVERIFY(g_settings_set_value(settings, "folder-children", strings(ids)));
    g_object_unref(settings);
}

void setFolder(const QString& id, const QString& name, bool translate, const QStringList& apps,
               const QStringList& categories = {}, const QStringList& excluded = {}) {
    setFolderKey(id, "name", g_variant_new_string(name.toUtf8().constData()));
    setFolderKey(id, "translate", g_variant_new_boolean(translate));
    setFolderKey(id, "apps", strings(apps));
    setFolderKey(id, "categories", strings(categories));
    setFolderKey(id, "excluded-apps", strings(excluded));
}

QStringList appNames(const AppFolder& folder) {
    QStringList names;
    for (const AppItem& item : folder.apps)
        names.append(item.name);
    return names;
}

const AppFolder* folderNamed(const QList<AppFolder>& folders, const QString& name) {
    for (const AppFolder& folder : folders) {
        if (folder.name == name)
            return &folder;
    }
    return nullptr;
}

} // namespace

class GnomeAppFoldersTest : public QObject {
    Q_OBJECT

    TestDesktopHome m_home;
    GioDesktopEntries m_entries;
    GioDesktopSettings m_settings;
    GioDesktopAppFolders m_desktop{m_settings};

private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(QFile::exists("/usr/share/glib-2.0/schemas/org.gnome.desktop.app-folders.gschema.xml"),
                 "GNOME's settings schemas are missing: scripts/install-deps installs them");
        m_home.writeEntry("system", "org.example.Zeta", "Name=Zeta\nCategories=Utility;");
        m_home.writeEntry("system", "org.example.Alpha", "Name=Alpha\nName[uk]=Альфа\nCategories=Graphics;Utility;");
        m_home.writeEntry("system", "org.example.beta", "Name=beta\nCategories=Utility");
        m_home.writeEntry("system", "org.example.Excluded", "Name=Excluded\nCategories=Utility;");
        m_home.writeEntry("system", "org.example.NoShow", "Name=No show\nNoDisplay=true\nCategories=Utility;");
        m_home.writeEntry("system", "org.example.Writer", "Name=Writer\nCategories=Office;");
        m_home.writeEntry("system", "org.example.Sheets", "Name=Sheets\nCategories=Office;");
        // Trellin's own launchers are never applications of a folder, whatever they claim.
        m_home.writeEntry("share", "trellin", "Name=Trellin\nCategories=Utility;");
        QVERIFY(writeFile(m_home.path("system/desktop-directories/X-Test-Utilities.directory"),
                          "[Desktop Entry]\nType=Directory\nName=Utilities\nName[uk]=Утиліти\n"));
        QVERIFY(
            writeFile(m_home.path("system/X-Test-Games.directory"), "[Desktop Entry]\nType=Directory\nName=Leak\n"));
    }

    void init() {
        setChildren({"Utilities", "Office", "bad/id", "Games", "Office", ""});
        setFolder("Utilities", "X-Test-Utilities.directory", true,
                  {"org.example.Zeta.desktop", "org.example.NotHere.desktop", "org.example.Zeta.desktop"}, {"Utility"},
                  {"org.example.Excluded.desktop"});
        setFolder("Office", "My office", false, {"org.example.Writer.desktop", "org.example.Sheets"});
        // A settings value names a file in the desktop's folders, never one elsewhere.
        setFolder("Games", "../X-Test-Games.directory", true, {});
        // Kept for the next GSettings of this process, and for anyone else: it is a file in the home.
        g_settings_sync();
    }

    void desktopFoldersBecomeTrellinFolders() {
        QCOMPARE(m_desktop.folders().size(), 3);
        QVERIFY(QFile::exists(m_home.path("config/glib-2.0/settings/keyfile")));
        ConsoleCapture console;
        const GnomeFolderImport import(m_desktop, m_entries, "en", m_home.clock);
        QVERIFY(import.available());
        const QList<AppFolder> folders = import.folders();

        // In the desktop's order, each once; translated names from the directory file, or the
        // file name when there is none.
        QStringList names;
        for (const AppFolder& folder : folders)
            names.append(folder.name);
        QCOMPARE(names, QStringList({"Utilities", "My office", "../X-Test-Games"}));

        // Listed applications first as listed, then the category's by name, whatever the case of
        // their names; the excluded, the hidden, the missing and Trellin's launcher left out.
        QCOMPARE(appNames(folders[0]), QStringList({"Zeta", "Alpha", "beta"}));
        QCOMPARE(appNames(folders[1]), QStringList({"Writer", "Sheets"}));
        QVERIFY(folders[2].apps.isEmpty());
        QCOMPARE(console.lines,
                 QStringList{"[GnomeFolderImport] org.example.NotHere.desktop of the folder \"Utilities\" is not "
                             "installed; left out"});
        const AppItem& writer = folders[1].apps[0];
        QCOMPARE(writer.bundleID, QString("org.example.Writer"));
        QCOMPARE(writer.path(), m_home.path("system/applications/org.example.Writer.desktop"));

        for (const AppFolder& folder : folders) {
            QCOMPARE(folder.emoji, QString("folder.fill"));
            QVERIFY(!folder.isInDock);
            QCOMPARE(folder.tileStyle, TileStyleSettings());
        }
        // The same folder id on every machine and in every version: stored files name it.
        QCOMPARE(folders[0].id, QUuid("{a9f10da0-3028-5f3b-92f2-af29d6dcbd25}"));
        QCOMPARE(folders[1].id, GnomeFolderImport::folderId("Office"));
        QVERIFY(folders[0].id != folders[1].id);

        // In the interface language.
        const QList<AppFolder> ukrainian = GnomeFolderImport(m_desktop, m_entries, "uk", m_home.clock).folders();
        QCOMPARE(ukrainian[0].name, QString("Утиліти"));
        QCOMPARE(appNames(ukrainian[0]), QStringList({"Zeta", "Альфа", "beta"}));
    }

    void importingAgainRefreshesAndKeepsTheUsersChoices() {
        const ConsoleCapture console;
        const GnomeFolderImport import(m_desktop, m_entries, "en", m_home.clock);
        const FolderStore::ImportResult first = import.importInto(*m_home.store);
        QCOMPARE(first.added, 3);
        QCOMPARE(m_home.store->folders().size(), 3);

        // The user makes the office folder theirs.
        AppFolder office = *folderNamed(m_home.store->folders(), "My office");
        office.emoji = "doc.fill";
        office.tileStyle.cornerRadius = 4.0;
        m_home.store->updateFolder(office);
        m_home.store->setFolderInDock(office.id, true);
        const QByteArray mine = FolderCodec::encode({*folderNamed(m_home.store->folders(), "My office")}).value();

        // Nothing changed on the desktop: nothing to save, not even a kept copy.
        m_home.clock.advance(FolderStore::keepBurstInterval * 2);
        const int copies = m_home.store->backups().list().size();
        const QByteArray file = readFile(m_home.foldersFile());
        const FolderStore::ImportResult same = import.importInto(*m_home.store);
        QCOMPARE(same.added + same.updated, 0);
        QCOMPARE(same.unchanged, 3);
        QCOMPARE(readFile(m_home.foldersFile()), file);
        QCOMPARE(m_home.store->backups().list().size(), copies);

        // The desktop renames the folder and gives it another application.
        setFolder("Office", "Office", false,
                  {"org.example.Sheets.desktop", "org.example.Writer.desktop", "org.example.Alpha.desktop"});
        g_settings_sync();
        const FolderStore::ImportResult again = import.importInto(*m_home.store);
        QCOMPARE(again.added, 0);
        QCOMPARE(again.updated, 1);
        QCOMPARE(m_home.store->folders().size(), 3);
        const AppFolder* refreshed = folderNamed(m_home.store->folders(), "Office");
        QVERIFY(refreshed);
        QCOMPARE(refreshed->id, office.id);
        QCOMPARE(appNames(*refreshed), QStringList({"Sheets", "Writer", "Alpha"}));
        QCOMPARE(refreshed->emoji, QString("doc.fill"));
        QCOMPARE(refreshed->tileStyle, office.tileStyle);
        QVERIFY(refreshed->isInDock);
        QCOMPARE(refreshed->createdAt, office.createdAt);
        // Applications it had keep their item ids.
        QCOMPARE(refreshed->apps[0].id, office.apps[1].id);
        QCOMPARE(refreshed->apps[1].id, office.apps[0].id);
        QVERIFY(FolderCodec::encode({*refreshed}).value() != mine);

        // No folders at all: nothing to offer.
        setChildren({});
        g_settings_sync();
        QVERIFY(!import.available());
    }
};

QTEST_GUILESS_MAIN(GnomeAppFoldersTest)
#include "GnomeAppFoldersTest.moc"
