// The folder card, its two dialogs and the folder list, offscreen: expanding, editing and saving,
// the Dock switch's empty-folder rule, the picker hand-over, the list's states and counts.
#include "MainWindowTestBed.h"
#include "ui/AppGridItem.h"
#include "ui/DeleteFolderConfirmationSheet.h"
#include "ui/EmptyFolderAlertSheet.h"
#include "ui/FolderCardView.h"
#include "ui/FolderNameHint.h"
#include "ui/FoldersListView.h"
#include "widgets/GlyphButton.h"
#include "widgets/SearchInputField.h"
#include "widgets/SegmentedTabs.h"
#include "widgets/TextButton.h"
#include "widgets/ToggleSwitch.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const AppFolder& stored(const MainWindowTestBed& bed, const QUuid& id) {
    for (const AppFolder& folder : bed.store.folders())
        if (folder.id == id)
            return folder;
    qFatal("folder not in the store");
}

QStringList appNames(const QList<AppItem>& apps) {
    QStringList names;
    for (const AppItem& app : apps)
        names.append(app.name);
    return names;
}

} // namespace

class FolderCardTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindowTestBed> m_bed;

    FolderCardView* card(const AppFolder& folder) {
        m_bed->store.setFolders(m_bed->store.folders() + QList<AppFolder>{folder});
        auto* view = new FolderCardView(m_bed->environment, folder, false);
        view->resize(480, 300);
        view->show();
        return view;
    }

private Q_SLOTS:
    void init() { m_bed = std::make_unique<MainWindowTestBed>(); }
    void cleanup() { m_bed.reset(); }

    void headerExpandsAndEditingSaves() {
        const AppFolder folder = MainWindowTestBed::folder("Work", 2);
        std::unique_ptr<FolderCardView> view(card(folder));
        QVERIFY(!view->isExpanded());
        QTest::mouseClick(view->nameLabel(), Qt::LeftButton);
        QVERIFY(view->isExpanded());
        QCOMPARE(view->chevron()->rotation(), 90.0);

        // Tiles show a placeholder until their icon is read at the next turn of the loop.
        QCOMPARE(view->tiles().size(), 2);
        QVERIFY(!view->tiles().first()->hasIcon());
        m_bed->clock.advance(0);
        QVERIFY(view->tiles().first()->hasIcon());

        QTest::mouseClick(view->editButton(), Qt::LeftButton);
        QVERIFY(view->isEditing());
        QCOMPARE(view->editingName(), QStringLiteral("Work"));
        // The name filter applies to what is typed, and blanks keep the old name.
        view->nameField()->clear();
        QTest::keyClicks(view->nameField(), "Of!fi&ce");
        QCOMPARE(view->nameField()->text(), QStringLiteral("Office"));
        view->nameField()->setText("   ");
        QTest::mouseClick(view->editButton(), Qt::LeftButton);
        QVERIFY(!view->isEditing());
        QVERIFY(view->isExpanded());
        QCOMPARE(stored(*m_bed, folder.id).name, QStringLiteral("Work"));

        view->beginEditing();
        view->nameField()->setText("  Office ");
        view->chooseIcon("star");
        QTest::keyClick(view->nameField(), Qt::Key_Return); // Return is Done
        QCOMPARE(stored(*m_bed, folder.id).name, QStringLiteral("Office"));
        QCOMPARE(stored(*m_bed, folder.id).emoji, QStringLiteral("star"));
    }

    void removingEveryAppTakesTheFolderOutOfTheDock() {
        const AppFolder folder = MainWindowTestBed::folder("Dock", 2, true);
        std::unique_ptr<FolderCardView> view(card(folder));
        view->beginEditing();
        QVERIFY(view->isExpanded());
        while (!view->tiles().isEmpty())
            QTest::mouseClick(view->tiles().first()->deleteBadge(), Qt::LeftButton);
        QVERIFY(view->editingApps().isEmpty());
        QVERIFY(stored(*m_bed, folder.id).isInDock); // nothing reaches the store before Done
        view->finishEditing();
        QVERIFY(!stored(*m_bed, folder.id).isInDock);
        QVERIFY(stored(*m_bed, folder.id).apps.isEmpty());
        QVERIFY(view->emptyContent()->isVisibleTo(view.get()));
        QVERIFY(!view->inDockSwitch()->isChecked());
    }

    void collapsingDiscardsEditsAndDragsReorder() {
        const AppFolder folder = MainWindowTestBed::folder("Work", 4);
        std::unique_ptr<FolderCardView> view(card(folder));
        view->beginEditing();
        view->nameField()->setText("Other");
        view->chooseIcon("star");
        // A drag from elsewhere names its app on entering; the next tile entered takes its place.
        const QList<AppItem> apps = folder.apps;
        view->dragEntered(apps[1].id, apps[0].id);
        QCOMPARE(view->draggingAppID(), std::optional<QUuid>(apps[0].id));
        view->dragEntered(apps[0].id, apps[0].id); // onto itself
        QCOMPARE(appNames(view->editingApps()), QStringList({"App 1", "App 2", "App 3", "App 4"}));
        view->dragEntered(apps[2].id, apps[0].id);
        QCOMPARE(appNames(view->editingApps()), QStringList({"App 2", "App 3", "App 1", "App 4"}));
        QCOMPARE(appNames({view->tiles()[2]->app()}), QStringList({"App 1"}));
        view->dragPerformed();
        m_bed->clock.advance(0.05);
        QVERIFY(view->draggingAppID());
        m_bed->clock.advance(0.06);
        QVERIFY(!view->draggingAppID());

        QTest::mouseClick(view->countLabel(), Qt::LeftButton); // the header, beside the name field
        QVERIFY(!view->isExpanded());
        QVERIFY(!view->isEditing());
        const AppFolder& after = stored(*m_bed, folder.id);
        QCOMPARE(after.name, QStringLiteral("Work"));
        QCOMPARE(after.emoji, QStringLiteral("folder"));
        QCOMPARE(after.apps, folder.apps);
        view->setExpanded(true);
        QCOMPARE(view->tiles().first()->app().name, QStringLiteral("App 1"));
        QCOMPARE(view->nameLabel()->text(), QStringLiteral("Work"));
    }

    void theKeyboardReordersAndRemovesAndTheCountFollows() {
        std::unique_ptr<FolderCardView> view(card(MainWindowTestBed::folder("Work", 1)));
        view->resize(520, 400);
        view->beginEditing();
        QApplication::setActiveWindow(view.get());
        QVERIFY(QTest::qWaitForWindowActive(view.get()));
        // As many apps as one row holds and three more, so a shorter second row follows.
        const int gridWidth = view->tiles().first()->parentWidget()->width();
        const int columns = (gridWidth + AppGridLayout::spacing) / (AppGridItem::tileSize + AppGridLayout::spacing);
        QVERIFY(columns >= 4);
        const QList<AppItem> apps = MainWindowTestBed::folder("Many", columns + 3).apps;
        view->addApps(apps.mid(1));
        QCoreApplication::processEvents();
        QCOMPARE(view->tiles().size(), columns + 3);
        QCOMPARE(view->tiles().at(columns - 1)->y(), view->tiles().first()->y());
        QVERIFY(view->tiles().at(columns)->y() > view->tiles().first()->y());
        QCOMPARE(view->countLabel()->text(), QStringLiteral("%1 apps").arg(columns + 3));
        const auto named = [](const QList<int>& numbers) {
            QStringList names;
            for (const int number : numbers)
                names.append(QStringLiteral("App %1").arg(number));
            return names;
        };
        const auto range = [](int from, int to) {
            QList<int> numbers;
            for (int i = from; i <= to; ++i)
                numbers.append(i);
            return numbers;
        };
        const auto order = [&view] { return appNames(view->editingApps()); };
        const auto badgeOf = [&view](int number) -> QWidget* {
            for (AppGridItem* tile : view->tiles())
                if (tile->app().name == QStringLiteral("App %1").arg(number))
                    return tile->deleteBadge();
            return nullptr;
        };
        const auto press = [](int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
        };
        const int last = columns + 3;
        QWidget* first = badgeOf(1);
        first->setFocus(Qt::TabFocusReason);
        QCOMPARE(first->accessibleDescription(),
                 QStringLiteral("Position 1 of %1. Ctrl with the arrow keys moves it.").arg(last));
        press(Qt::Key_Left); // already first
        QCOMPARE(order(), named(range(1, last)));
        press(Qt::Key_Right);
        QCOMPARE(order(), named(QList<int>{2, 1} + range(3, last)));
        press(Qt::Key_Down); // a row down: the place under it
        QCOMPARE(order(), named(range(2, columns + 2) + QList<int>{1, last}));
        QCOMPARE(QApplication::focusWidget(), first);
        QCOMPARE(first->accessibleDescription(),
                 QStringLiteral("Position %1 of %2. Ctrl with the arrow keys moves it.").arg(columns + 2).arg(last));
        press(Qt::Key_Up);
        press(Qt::Key_Up); // the first row has no row above
        QCOMPARE(order(), named(QList<int>{2, 1} + range(3, last)));
        press(Qt::Key_End);
        QCOMPARE(order(), named(range(2, last) + QList<int>{1}));
        // The tiles are laid out in the new order too.
        QCOMPARE(view->tiles().last()->app().name, QStringLiteral("App 1"));
        // The end of the first row: nothing lies under it in the shorter row, so down is the end.
        badgeOf(columns + 1)->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Down);
        QCOMPARE(order(), named(range(2, columns) + QList<int>{columns + 2, last, 1, columns + 1}));
        press(Qt::Key_Home);
        QCOMPARE(order(), named(QList<int>{columns + 1} + range(2, columns) + QList<int>{columns + 2, last, 1}));
        // Without Ctrl the arrows move nothing.
        press(Qt::Key_Right, Qt::NoModifier);
        QCOMPARE(order().first(), QStringLiteral("App %1").arg(columns + 1));

        // Delete removes the focused app as its badge does; the focus moves on, the count follows.
        badgeOf(columns + 1)->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Delete, Qt::NoModifier);
        const QStringList kept = named(range(2, columns) + QList<int>{columns + 2, last, 1});
        QCOMPARE(order(), kept);
        QCOMPARE(QApplication::focusWidget(), badgeOf(2));
        QCOMPARE(view->countLabel()->text(), QStringLiteral("%1 apps").arg(last - 1));
        // Only Done stores the new order.
        QCOMPARE(stored(*m_bed, view->folder().id).apps.size(), 1);
        view->finishEditing();
        QCOMPARE(appNames(stored(*m_bed, view->folder().id).apps), kept);
        // Outside edit mode the keys do nothing.
        QWidget* hiddenBadge = view->tiles().first()->deleteBadge();
        QTest::keyClick(hiddenBadge, Qt::Key_Right, Qt::ControlModifier);
        QTest::keyClick(hiddenBadge, Qt::Key_Delete);
        QCOMPARE(appNames(stored(*m_bed, view->folder().id).apps), kept);
    }

    void theRenameFieldHoldsAFullNameAndShowsTheHint() {
        std::unique_ptr<FolderCardView> view(card(MainWindowTestBed::folder("Work", 1)));
        view->resize(520, 300);
        QVERIFY(!view->nameHint()->isVisibleTo(view.get()));
        view->beginEditing();
        QVERIFY(view->nameHint()->isVisibleTo(view.get()));
        QLineEdit* field = view->nameField();
        // Twenty of the widest letters fit without the text scrolling inside the field.
        for (const QString& letter :
             {QStringLiteral("Щ"), QStringLiteral("W"), QStringLiteral("Ж"), QStringLiteral("M")}) {
            field->setText(letter.repeated(20));
            field->end(false);
            QCOMPARE(field->cursorPositionAt(QPoint(field->rect().left() + 4, field->height() / 2)), 0);
        }
        // The header still fits the narrowest window's list.
        QVERIFY2(view->minimumSizeHint().width() <= 520, qPrintable(QString::number(view->minimumSizeHint().width())));
        field->clear();
        QTest::keyClicks(field, "Games?");
        QCOMPARE(view->nameHint()->message(), QStringLiteral("Removed: ?"));
        // A new edit starts without the old message.
        view->setExpanded(false);
        view->beginEditing();
        QVERIFY(view->nameHint()->message().isEmpty());
    }

    void dockSwitchRefusesAnEmptyFolder() {
        const AppFolder empty = MainWindowTestBed::folder("Empty", 0);
        std::unique_ptr<FolderCardView> view(card(empty));
        QTest::mouseClick(view->inDockSwitch(), Qt::LeftButton);
        QVERIFY(m_bed->store.showingEmptyFolderAlert());
        QVERIFY(!view->inDockSwitch()->isChecked());
        QVERIFY(!stored(*m_bed, empty.id).isInDock);

        const AppFolder full = MainWindowTestBed::folder("Full", 1);
        std::unique_ptr<FolderCardView> other(card(full));
        QTest::mouseClick(other->inDockSwitch(), Qt::LeftButton);
        QVERIFY(stored(*m_bed, full.id).isInDock);
        QTest::mouseClick(other->inDockSwitch(), Qt::LeftButton);
        QVERIFY(!stored(*m_bed, full.id).isInDock);
    }

    void addingHandsOverToThePicker() {
        const AppFolder folder = MainWindowTestBed::folder("Work", 1);
        auto* view = card(folder);
        view->setExpanded(true);
        QTest::mouseClick(view->addAppsButton(), Qt::LeftButton);
        FolderStore& store = m_bed->store;
        QVERIFY(store.showingAppPicker());
        QCOMPARE(store.appPickerCurrentBundleIDs(), QSet<QString>({"app.example.1"}));
        QVERIFY(store.appPickerCallback());

        const QList<AppItem> more = MainWindowTestBed::folder("More", 2).apps; // app.example.1 and .2
        // Not editing: appended without the duplicate and saved at once.
        store.appPickerCallback()(more);
        QCOMPARE(appNames(stored(*m_bed, folder.id).apps), QStringList({"App 1", "App 2"}));
        // Editing: appended to the edits only.
        view->beginEditing();
        AppItem extra = more[0];
        extra.bundleID = "app.example.3";
        extra.id = QUuid::createUuid();
        view->requestAddApps();
        store.appPickerCallback()({extra});
        QCOMPARE(view->editingApps().size(), 3);
        QCOMPARE(stored(*m_bed, folder.id).apps.size(), 2);
        // The picker may answer after the card is gone.
        delete view;
        store.appPickerCallback()({extra});
        QCOMPARE(stored(*m_bed, folder.id).apps.size(), 2);
    }

    void dialogsClearTheirFlags() {
        FolderStore& store = m_bed->store;
        const AppFolder folder = MainWindowTestBed::folder("Work", 1);
        store.setFolderPendingDelete(folder);
        int confirmed = 0;
        DeleteFolderConfirmationSheet sheet(m_bed->environment, folder, [&confirmed] { ++confirmed; });
        QVERIFY(sheet.titleLabel()->text().contains("Work"));
        sheet.show();
        QTest::keyClick(&sheet, Qt::Key_Escape);
        QVERIFY(!store.folderPendingDelete());
        QCOMPARE(confirmed, 0);
        // Return takes the safe choice; the delete button itself still deletes.
        store.setFolderPendingDelete(folder);
        QTest::keyClick(&sheet, Qt::Key_Return);
        QVERIFY(!store.folderPendingDelete());
        QCOMPARE(confirmed, 0);
        QTest::mouseClick(sheet.deleteButton(), Qt::LeftButton);
        QCOMPARE(confirmed, 1);
        sheet.deleteButton()->setFocus();
        QTest::keyClick(sheet.deleteButton(), Qt::Key_Return);
        QTRY_COMPARE(confirmed, 2);

        store.setShowingEmptyFolderAlert(true);
        EmptyFolderAlertSheet alert(m_bed->environment);
        alert.show();
        QTest::keyClick(&alert, Qt::Key_Return);
        QVERIFY(!store.showingEmptyFolderAlert());
    }

    // Brought from another machine: an application not installed here stays, marked.
    void appsNotInstalledAreMarkedAndOpenAllOpensEachOnce() {
        AppFolder folder = MainWindowTestBed::folder("Work", 2);
        folder.apps.append(folder.apps.first()); // the same application twice
        folder.apps.last().id = QUuid::createUuid();
        folder.apps.append({QUuid::createUuid(), QStringLiteral("Elsewhere"), QStringLiteral("org.example.Elsewhere"),
                            AppItem::fileURLForPath(QStringLiteral("/nowhere/Elsewhere.app"), true)});
        std::unique_ptr<FolderCardView> view(card(folder));
        view->setExpanded(true);
        const QList<AppGridItem*> tiles = view->tiles();
        QCOMPARE(tiles.size(), 4);
        QVERIFY(!tiles.first()->isMissing());
        QVERIFY(tiles.last()->isMissing());
        QCOMPARE(tiles.last()->accessibleDescription(), QStringLiteral("Not installed on this computer"));
        QVERIFY(tiles.first()->accessibleDescription().isEmpty());

        // From the "…" button's menu: each application once, those that did not open reported.
        QCOMPARE(view->moreButton()->accessibleName(), QStringLiteral("More"));
        QAction* openAll = view->menu()->actions().first();
        QCOMPARE(openAll->text(), QStringLiteral("Open All"));
        QSignalSpy news(view.get(), &FolderCardView::newsReported);
        openAll->trigger();
        QCOMPARE(m_bed->workspace.opened.size(), 2);
        m_bed->workspace.finishOpens(QStringLiteral("no such file"));
        QTRY_COMPARE(news.size(), 1);
        QCOMPARE(news.first().at(0).toString(), QStringLiteral("Work"));
        QCOMPARE(news.first().at(1).toString(), QStringLiteral("Couldn’t open “App 1”. Couldn’t open “Elsewhere”."));
    }

    void listShowsStatesCountsAndNewFolders() {
        FolderStore& store = m_bed->store;
        int added = 0;
        FoldersListView list(m_bed->environment, [&added] { ++added; });
        list.resize(560, 500);
        list.show();
        QVERIFY(store.didStartDockStateMonitoring());
        QVERIFY(list.noFoldersState()->isVisible());
        QTest::mouseClick(list.newFolderButton(), Qt::LeftButton);
        QCOMPARE(added, 1);

        store.setFolders({MainWindowTestBed::folder("Work", 2, true), MainWindowTestBed::folder("Games", 1),
                          MainWindowTestBed::folder("Dock", 1, true)});
        QVERIFY(!list.noFoldersState()->isVisible());
        QCOMPARE(list.cards().size(), 3);
        QVERIFY(list.footerLabel()->text().contains("3"));

        // The in-Dock count stays while the search hides one of them.
        list.searchField()->setText("wor");
        QTest::mouseClick(list.filterTabs()->segmentButton(1), Qt::LeftButton);
        QCOMPARE(list.selectedFilter(), FolderVisibilityFilter::InDock);
        QCOMPARE(list.cards().size(), 1);
        QCOMPARE(list.countLabel()->text(), m_bed->localization.pluralText("main.folder_count", 2));
        list.searchField()->setText("   ");
        QCOMPARE(list.cards().size(), 2);
        list.searchField()->setText("wor");
        QTest::keyClick(list.searchField()->lineEdit(), Qt::Key_Escape);
        QCOMPARE(list.searchField()->text(), QString());
        QCOMPARE(list.cards().size(), 2);

        // A switch change rebuilds from the store, yet the open card stays open.
        FolderCardView* work = list.cards().first();
        work->setExpanded(true);
        QTest::mouseClick(work->inDockSwitch(), Qt::LeftButton);
        QCOMPARE(list.cards().size(), 1);
        list.setSelectedFilter(FolderVisibilityFilter::All);
        QCOMPARE(list.cards().first(), work);
        QVERIFY(work->isExpanded());

        // No folder in the Dock under that filter: nothing found, not "no folders".
        store.setFolders({MainWindowTestBed::folder("Idle", 1)});
        list.setSelectedFilter(FolderVisibilityFilter::InDock);
        QVERIFY(list.noResultsState()->isVisible());
        QVERIFY(!list.noFoldersState()->isVisible());

        // A new folder opens expanded and is scrolled to.
        list.setSelectedFilter(FolderVisibilityFilter::All);
        for (int i = 0; i < 8; ++i)
            store.setFolders(store.folders() + QList<AppFolder>{MainWindowTestBed::folder("F", 3)});
        const AppFolder fresh = MainWindowTestBed::folder("Fresh", 3);
        store.addFolder(fresh);
        QVERIFY(list.card(fresh.id)->isExpanded());
        QCOMPARE(list.pendingScrollFolderID(), std::optional<QUuid>(fresh.id));
        m_bed->clock.advance(0.2);
        QVERIFY(!list.pendingScrollFolderID());
        QVERIFY(list.scrollArea()->verticalScrollBar()->value() > 0);
    }

    void listFollowsLanguageAndScrolling() {
        FolderStore& store = m_bed->store;
        QList<AppFolder> folders;
        for (int i = 0; i < 12; ++i)
            folders.append(MainWindowTestBed::folder("F", 1));
        store.setFolders(folders);
        FoldersListView list(m_bed->environment, [] {});
        list.resize(560, 400);
        list.show();
        FolderCardView* first = list.cards().first();
        first->setExpanded(true);
        const QString englishCount = list.countLabel()->text();
        const QString englishButton = first->editButton()->text();
        m_bed->settings->setLanguage(AppLanguage::Ukrainian);
        QCOMPARE(list.countLabel()->text(), m_bed->localization.pluralText("main.folder_count", 12));
        QVERIFY(list.countLabel()->text() != englishCount);
        QVERIFY(first->editButton()->text() != englishButton);

        // The overlay bar shows while the list moves and goes a moment after it stops.
        QScrollBar* inner = list.scrollArea()->verticalScrollBar();
        QVERIFY(inner->maximum() > 0);
        QVERIFY(!list.overlayScrollBar()->isVisible());
        inner->setValue(inner->maximum() / 2);
        QVERIFY(list.overlayScrollBar()->isVisible());
        QCOMPARE(list.overlayScrollBar()->value(), inner->value());
        m_bed->clock.advance(1);
        QVERIFY(!list.overlayScrollBar()->isVisible());
    }
};

QTEST_MAIN(FolderCardTest)
#include "FolderCardTest.moc"
