// The folder list's and folder card's rules: which folders show, the header count, reordering by
// drag, what Done stores and how picked applications are appended.
#include "ui/AppReorder.h"
#include "ui/FolderEdit.h"
#include "ui/FolderVisibility.h"

#include <QTest>

namespace {

AppItem app(const QString& name, const QString& bundleID = {}) {
    return {QUuid::createUuid(), name, bundleID.isEmpty() ? QStringLiteral("id.") + name : bundleID,
            QStringLiteral("file:///Applications/%1.app/").arg(name)};
}

AppFolder folder(const QString& name, bool inDock, QList<AppItem> apps = {}) {
    AppFolder result(QUuid::createUuid(), name, QStringLiteral("folder"), 10);
    result.isInDock = inDock;
    result.apps = std::move(apps);
    return result;
}

QStringList names(const QList<AppFolder>& folders) {
    QStringList result;
    for (const AppFolder& folder : folders)
        result.append(folder.name);
    return result;
}

QStringList names(const QList<AppItem>& apps) {
    QStringList result;
    for (const AppItem& item : apps)
        result.append(item.name);
    return result;
}

} // namespace

class FolderListLogicTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void visibilityFollowsFilterAndSearch() {
        const QList<AppFolder> folders = {folder("Work", true, {app("Calculator")}), folder("Games", false),
                                          folder("Музика", true, {app("Player")}), folder("Tools", false)};
        const QLocale en(QStringLiteral("en"));
        using FolderVisibility::visibleFolders;
        // Blank searches pass everything the filter passes, in the store's order.
        QCOMPARE(names(visibleFolders(folders, FolderVisibilityFilter::All, "   \n", en)),
                 QStringList({"Work", "Games", "Музика", "Tools"}));
        QCOMPARE(names(visibleFolders(folders, FolderVisibilityFilter::InDock, "  ", en)),
                 QStringList({"Work", "Музика"}));
        // Three letters found only in an application's name, in another letter case.
        QCOMPARE(names(visibleFolders(folders, FolderVisibilityFilter::All, "CUL", en)), QStringList({"Work"}));
        QCOMPARE(names(visibleFolders(folders, FolderVisibilityFilter::InDock, "game", en)), QStringList());
        // Letter case is ignored beyond Latin too.
        QCOMPARE(names(visibleFolders(folders, FolderVisibilityFilter::All, "МУЗ", QLocale("uk"))),
                 QStringList({"Музика"}));
        // The text is matched as typed: only the emptiness test trims it.
        QCOMPARE(names(visibleFolders(folders, FolderVisibilityFilter::All, "ork ", en)), QStringList());
        QCOMPARE(names(visibleFolders(folders, FolderVisibilityFilter::All, " ork", en)), QStringList());
    }

    void headerCountIgnoresTheSearch() {
        const QList<AppFolder> folders = {folder("A", true), folder("B", false), folder("C", true)};
        QCOMPARE(FolderVisibility::headerCount(folders, FolderVisibilityFilter::All), 3);
        QCOMPARE(FolderVisibility::headerCount(folders, FolderVisibilityFilter::InDock), 2);
        QCOMPARE(FolderVisibility::inDockCount({}), 0);
    }

    void reorderPutsTheDraggedAppInTheTargetsPlace() {
        const QList<AppItem> apps = {app("1"), app("2"), app("3"), app("4")};
        QCOMPARE(names(AppReorder::moved(apps, apps[0].id, apps[2].id)), QStringList({"2", "3", "1", "4"}));
        QCOMPARE(names(AppReorder::moved(apps, apps[3].id, apps[0].id)), QStringList({"4", "1", "2", "3"}));
        QCOMPARE(names(AppReorder::moved(apps, apps[2].id, apps[3].id)), QStringList({"1", "2", "4", "3"}));
        // Onto itself, or with an id the folder does not hold: nothing moves.
        QCOMPARE(AppReorder::moved(apps, apps[1].id, apps[1].id), apps);
        QCOMPARE(AppReorder::moved(apps, QUuid::createUuid(), apps[1].id), apps);
        QCOMPARE(AppReorder::moved(apps, apps[1].id, QUuid::createUuid()), apps);
    }

    void doneStoresTheEditsInOneCopy() {
        AppFolder original = folder("Work", true, {app("A"), app("B")});
        original.tileStyle.cornerRadius = 7;
        const QList<AppItem> reordered = {original.apps[1], original.apps[0]};

        AppFolder saved = FolderEdit::saved(original, "  \n\t ", "star", reordered);
        QCOMPARE(saved.name, QStringLiteral("Work")); // blanks keep the old name
        QCOMPARE(saved.emoji, QStringLiteral("star"));
        QCOMPARE(saved.apps, reordered);
        QVERIFY(saved.isInDock);
        QCOMPARE(saved.id, original.id);
        QCOMPARE(saved.tileStyle, original.tileStyle);
        QCOMPARE(saved.createdAt, original.createdAt);

        QCOMPARE(FolderEdit::saved(original, "  Office \n", "folder", reordered).name, QStringLiteral("Office"));

        // Without applications a folder leaves the Dock; one outside stays outside.
        QVERIFY(!FolderEdit::saved(original, "Work", "folder", {}).isInDock);
        QVERIFY(!FolderEdit::saved(folder("Idle", false, {app("A")}), "Idle", "folder", {app("B")}).isInDock);
    }

    void pickedAppsAreAppendedOncePerBundle() {
        const QList<AppItem> apps = {app("Mail", "com.mail"), app("Notes", "com.notes")};
        const QList<AppItem> picked = {app("Mail again", "com.mail"), app("Maps", "com.maps"),
                                       app("Maps copy", "com.maps"), app("Music", "com.music")};
        QCOMPARE(names(FolderEdit::appended(apps, picked)), QStringList({"Mail", "Notes", "Maps", "Music"}));
        QCOMPARE(FolderEdit::appended(apps, {}), apps);
    }
};

QTEST_GUILESS_MAIN(FolderListLogicTest)
#include "FolderListLogicTest.moc"
