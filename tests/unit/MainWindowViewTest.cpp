// The main window's shell: which dialog its modal layer shows and how the backdrop dismisses
// them, the confirmed delete, the page switches and their window sizes, the destination a
// request hands over, and the notice while the folders file is behind.
#include "ui/MainWindowView.h"
#include "MainWindowTestBed.h"
#include "TestFiles.h"
#include "model/FolderCodec.h"
#include "model/FolderID.h"
#include "platform/NotificationNames.h"
#include "settings/LocalizationKeys.h"
#include "ui/FolderCardView.h"
#include "ui/FolderTransferActions.h"
#include "ui/FoldersListView.h"
#include "ui/MainWindowNavigation.h"
#include "ui/ModalLayer.h"
#include "ui/TitleBar.h"
#include "ui/TrafficLights.h"
#include "widgets/GlyphButton.h"
#include "widgets/NoticeBanner.h"
#include "widgets/SearchInputField.h"
#include "widgets/SegmentedTabs.h"
#include "widgets/TextButton.h"
#include "widgets/Theme.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class MainWindowViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_bed = std::make_unique<MainWindowTestBed>();
        m_bed->settings->setHasCompletedOnboarding(true);
        m_view = std::make_unique<MainWindowView>(MainWindowView::Services{
            .environment = m_bed->environment,
            .navigation = m_navigation,
            .notifications = m_bed->home.localNotifications,
        });
        m_view->show();
        m_bed->clock.advance(0);
    }
    void cleanup() {
        m_view.reset();
        m_bed.reset();
    }

    void dialogsShowInTheirOrderAndTheBackdropDismissesAll() {
        FolderStore& store = m_bed->store;
        const AppFolder folder = MainWindowTestBed::folder(QStringLiteral("Work"), 1);
        store.addFolder(folder);
        ModalLayer* layer = m_view->modalLayer();
        store.setShowingAppPicker(true);
        QCOMPARE(layer->shownDialog(), ModalDialog::AppPicker);
        store.setShowingFolderEditor(true);
        QCOMPARE(layer->shownDialog(), ModalDialog::FolderEditor);
        store.setShowingEmptyFolderAlert(true);
        QCOMPARE(layer->shownDialog(), ModalDialog::EmptyFolderAlert);
        store.setFolderPendingDelete(folder);
        QCOMPARE(layer->shownDialog(), ModalDialog::DeleteConfirmation);
        QVERIFY(layer->isVisible());
        // Clearing the first leaves the next in order.
        store.setFolderPendingDelete(std::nullopt);
        QCOMPARE(layer->shownDialog(), ModalDialog::EmptyFolderAlert);

        store.setAppPickerCallback([](const QList<AppItem>&) {});
        store.setFolderToEdit(folder);
        QTest::mouseClick(layer, Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(layer->shownDialog(), ModalDialog::None);
        QVERIFY(!store.showingEmptyFolderAlert() && !store.showingFolderEditor() && !store.showingAppPicker());
        QVERIFY(!store.folderToEdit() && !store.appPickerCallback());
        // A click inside the dialog is the dialog's own.
        store.setShowingEmptyFolderAlert(true);
        QTest::mouseClick(layer, Qt::LeftButton, {}, layer->panel()->geometry().center());
        QVERIFY(store.showingEmptyFolderAlert());
    }

    void confirmedDeleteOfAFolderInTheDockShowsItsBadgeFirst() {
        FolderStore& store = m_bed->store;
        const AppFolder inDock = MainWindowTestBed::folder(QStringLiteral("Docked"), 2, true);
        const AppFolder plain = MainWindowTestBed::folder(QStringLiteral("Plain"), 1);
        store.addFolder(inDock);
        store.addFolder(plain);
        m_bed->helpers.clear();
        store.setFolderPendingDelete(inDock);
        m_view->deleteConfirmedFolder(inDock);
        QVERIFY(!store.folderPendingDelete());
        const QList<Notification>& posted = m_bed->home.distributedNotifications.posted;
        QCOMPARE(posted.size(), 1);
        QCOMPARE(posted[0].name, NotificationName::TRFolderDeleteBadge);
        QCOMPARE(posted[0].userInfo.value("id").toString(), FolderID::canonical(inDock.id));
        QCOMPARE(store.folders().size(), 1);
        // Its helper and its Dock tiles go once the badge has shown.
        QVERIFY(m_bed->helpers.calls.filter(QStringLiteral("removeFolderFromDock")).isEmpty());
        m_bed->clock.advance(2.0);
        QCOMPARE(m_bed->helpers.calls.filter(QStringLiteral("removeFolderFromDock")).size(), 1);
        m_view->deleteConfirmedFolder(plain);
        QCOMPARE(posted.size(), 1);
        QVERIFY(store.folders().isEmpty());
        QCOMPARE(m_bed->helpers.calls.filter(QStringLiteral("removeFolderFromDock")).size(), 2);
    }

    void aDeletedFolderComesBackFromItsNoticeOrCtrlZWhileTheNoticeShows() {
        FolderStore& store = m_bed->store;
        const AppFolder first = MainWindowTestBed::folder(QStringLiteral("First"), 1);
        const AppFolder docked = MainWindowTestBed::folder(QStringLiteral("Docked"), 2, true);
        const AppFolder last = MainWindowTestBed::folder(QStringLiteral("Last"), 1);
        for (const AppFolder& folder : {first, docked, last})
            store.addFolder(folder);
        const QList<AppFolder> before = store.folders();
        NoticeBanner* notice = m_view->newsNotice();

        m_view->deleteConfirmedFolder(docked);
        QCOMPARE(store.folders().size(), 2);
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->title(), QStringLiteral("“Docked” deleted"));
        QVERIFY(notice->actionButton()->isVisible());
        QCOMPARE(notice->actionButton()->text(), QStringLiteral("Undo"));
        m_bed->clock.advance(1);
        notice->actionButton()->click();
        // In its place and in the Dock again; its tile was never taken away.
        QCOMPARE(FolderCodec::encode(store.folders()), FolderCodec::encode(before));
        QVERIFY(!notice->isVisible());
        m_bed->clock.advance(MainWindowView::deletedFolderRemovalDelay);
        QVERIFY(m_bed->helpers.calls.filter(QStringLiteral("removeFolderFromDock")).isEmpty());

        // Ctrl+Z from the search field, which has nothing of its own to undo.
        m_view->deleteConfirmedFolder(first);
        QLineEdit* search = m_view->folderList()->searchField()->lineEdit();
        search->setFocus();
        QTest::keyClick(search, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(FolderCodec::encode(store.folders()), FolderCodec::encode(before));
        // Typed text is the field's to undo first.
        m_view->deleteConfirmedFolder(first);
        QTest::keyClicks(search, QStringLiteral("x"));
        QTest::keyClick(search, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(search->text().isEmpty());
        QCOMPARE(store.folders().size(), 2);
        QTest::keyClick(search, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(FolderCodec::encode(store.folders()), FolderCodec::encode(before));

        // Once the notice is gone, so is the undo.
        m_view->deleteConfirmedFolder(last);
        m_bed->clock.advance(MainWindowView::undoDeleteDuration);
        QVERIFY(!notice->isVisible());
        QVERIFY(!m_view->undoDelete());
        QCOMPARE(store.folders().size(), 2);
    }

    // Export, wipe, import: the same folders in the same order; a damaged file changes nothing.
    void foldersMenuExportsAndImportsTheFolders() {
        FolderStore& store = m_bed->store;
        QTemporaryDir files;
        QString chosen;
        FolderTransferActions::PathChooser& chooser = FolderTransferActions::pathChooser();
        const FolderTransferActions::PathChooser dialogs = chooser;
        const auto restore = qScopeGuard([&] { chooser = dialogs; });
        chooser = [&chosen](QWidget*, FolderTransferActions::Purpose) { return chosen; };
        for (const char* name : {"Alpha", "Beta", "Gamma"})
            store.addFolder(MainWindowTestBed::folder(QString::fromLatin1(name), 2));
        const QList<AppFolder> before = store.folders();
        const QList<QAction*> actions = m_view->folderList()->foldersMenu()->actions();
        NoticeBanner* notice = m_view->newsNotice();

        chosen = files.filePath(QStringLiteral("folders.json"));
        actions.at(0)->trigger();
        QCOMPARE(notice->title(), QStringLiteral("Folders exported"));
        QVERIFY(readFile(chosen).contains("\"format\": \"trellin-folders\"") ||
                readFile(chosen).contains("\"format\":\"trellin-folders\""));
        for (const AppFolder& folder : before)
            store.deleteFolder(folder.id, 0);
        actions.at(1)->trigger();
        QCOMPARE(FolderCodec::encode(store.folders()), FolderCodec::encode(before));
        QCOMPARE(notice->title(), QStringLiteral("Folders imported"));
        QCOMPARE(notice->message(), QStringLiteral("3 added, 0 updated."));

        QVERIFY(writeFile(files.filePath(QStringLiteral("damaged.json")), "{\"format\":\"trellin-folders\",\"vers"));
        chosen = files.filePath(QStringLiteral("damaged.json"));
        actions.at(1)->trigger();
        QCOMPARE(notice->title(), QStringLiteral("Could not import the folders"));
        QVERIFY(notice->message().startsWith(QStringLiteral("not a Trellin folders document")));
        QCOMPARE(FolderCodec::encode(store.folders()), FolderCodec::encode(before));
        // A cancelled dialog does nothing at all.
        chosen.clear();
        notice->dismiss();
        actions.at(0)->trigger();
        actions.at(1)->trigger();
        QVERIFY(!notice->isVisible());
    }

    void desktopAppFoldersAreOfferedWhileThereAreSomeAndComeInOnce() {
        QMenu* menu = m_view->folderList()->foldersMenu();
        QAction* desktop = menu->actions().at(3);
        Q_EMIT menu->aboutToShow();
        QVERIFY(!desktop->isVisible());
        m_bed->desktopEntries.entries = {{QStringLiteral("org.example.Editor"),
                                          QStringLiteral(TRELLIN_BUNDLE_DIR "/org.example.Editor.desktop"),
                                          QStringLiteral("Editor")}};
        m_bed->desktopAppFolders.list = {{QStringLiteral("Office"),
                                          QStringLiteral("Office"),
                                          {QStringLiteral("org.example.Editor.desktop")},
                                          {},
                                          {}}};
        Q_EMIT menu->aboutToShow();
        QVERIFY(desktop->isVisible());
        // Offered once as the first-run guide ends, for a while.
        NoticeBanner* notice = m_view->newsNotice();
        m_view->onboardingFinished(false);
        QCOMPARE(notice->title(), QStringLiteral("Bring in your GNOME app folders"));
        QCOMPARE(notice->actionButton()->text(), QStringLiteral("Import"));
        m_bed->clock.advance(MainWindowView::undoDeleteDuration);
        QVERIFY(notice->isVisible());
        notice->actionButton()->click();
        QCOMPARE(m_bed->store.folders().size(), 1);
        QCOMPARE(notice->message(), QStringLiteral("1 added, 0 updated."));
        desktop->trigger();
        QCOMPARE(m_bed->store.folders().size(), 1);
        QCOMPARE(m_bed->store.folders().first().name, QStringLiteral("Office"));
        QCOMPARE(m_view->newsNotice()->message(), QStringLiteral("0 added, 0 updated."));
    }

    void pagesSizeTheWindow() {
        QCOMPARE(m_view->size(), QSize(560, 550));
        m_view->titleBar()->settingsButton()->click();
        QCOMPARE(m_view->selection(), NavigationPage::General);
        QCOMPARE(m_view->highlightedSettingsTab(), NavigationPage::General);
        m_bed->clock.advance(0);
        const int generalHeight = m_view->height();
        QVERIFY(generalHeight >= 260 && generalHeight < 550);
        // Between settings tabs the resize waits for the highlight.
        m_view->reportPageHeight(NavigationPage::Popup, 400);
        m_view->setSelection(NavigationPage::Popup);
        m_bed->clock.advance(0.19);
        QCOMPARE(m_view->height(), generalHeight);
        m_bed->clock.advance(0.02);
        QCOMPARE(m_view->height(), 520);
        // Back to the folders: at once, and locked there.
        m_view->titleBar()->settingsButton()->click();
        m_bed->clock.advance(0);
        QCOMPARE(m_view->size(), QSize(560, 550));
        QCOMPARE(m_view->minimumSize(), m_view->maximumSize());
    }

    void destinationIsTakenWhenToldAndDroppedDuringOnboarding() {
        m_navigation.setPendingDestination(NavigationPage::About);
        m_bed->home.localNotifications.post(NotificationName::mainWindowNavigationRequested);
        QCOMPARE(m_view->selection(), NavigationPage::About);
        QCOMPARE(m_view->highlightedSettingsTab(), NavigationPage::About);
        QVERIFY(!m_navigation.pendingDestination());

        m_bed->settings->setHasCompletedOnboarding(false);
        m_navigation.setPendingDestination(NavigationPage::AllFolders);
        m_bed->home.localNotifications.post(NotificationName::mainWindowNavigationRequested);
        QCOMPARE(m_view->selection(), NavigationPage::About);
        QVERIFY(!m_navigation.pendingDestination());
        QCOMPARE(m_view->titleBar()->title(), m_bed->localization.text(QStringLiteral("onboarding.window_title")));
        // Finishing it with a first folder opens the editor a moment later.
        m_view->onboardingFinished(true);
        QVERIFY(m_bed->settings->hasCompletedOnboarding());
        QVERIFY(!m_bed->store.showingFolderEditor());
        m_bed->clock.advance(0.08);
        QVERIFY(m_bed->store.showingFolderEditor());
    }

    void closingHidesAndTheThemeButtonSwitchesTheTheme() {
        m_bed->settings->setAppTheme(AppThemeMode::Light);
        m_view->titleBar()->themeButton()->click();
        QCOMPARE(m_bed->settings->appTheme(), AppThemeMode::Dark);
        QCOMPARE(m_view->titleBar()->themeButton()->symbol(), QStringLiteral("sun.max.fill"));
        // Following a desktop that states nothing shows light; the button turns to the other look.
        m_bed->settings->setAppTheme(AppThemeMode::System);
        QCOMPARE(m_view->titleBar()->themeButton()->symbol(), QStringLiteral("moon.fill"));
        QCOMPARE(Theme::schemeOf(*m_view), ColorScheme::Light);
        m_view->titleBar()->themeButton()->click();
        QCOMPARE(m_bed->settings->appTheme(), AppThemeMode::Dark);
        QVERIFY(m_view->close() == false);
        QVERIFY(!m_view->isVisible());
    }

    void shortcutsFindAndCreate() {
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        QTest::keyClick(m_view.get(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(m_view->folderList()->searchField()->lineEdit()->hasFocus());
        QTest::keyClick(m_view.get(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(m_bed->store.showingFolderEditor());
        QVERIFY(!m_bed->store.folderToEdit());
    }

    void trafficLightsStayOutOfTheTabChainAndKeysPressThem() {
        m_bed->store.addFolder(MainWindowTestBed::folder(QStringLiteral("Work"), 2, true));
        m_bed->clock.advance(0.2);
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        TrafficLights* lights = m_view->titleBar()->trafficLights();
        for (const bool settings : {false, true}) {
            if (settings)
                m_view->setSelection(NavigationPage::General);
            // Round the whole chain, until the focus comes back to where it started.
            m_view->titleBar()->themeButton()->setFocus(Qt::TabFocusReason);
            QWidget* start = QApplication::focusWidget();
            QVERIFY(start);
            QList<QWidget*> chain;
            for (int i = 0; i < 200; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                chain.append(QApplication::focusWidget());
                if (chain.last() == start)
                    break;
            }
            QCOMPARE(chain.last(), start);
            QVERIFY(chain.size() > 2);
            for (QWidget* widget : std::as_const(chain))
                QVERIFY2(!lights->isAncestorOf(widget), qPrintable(widget->accessibleName()));
        }
        QSignalSpy minimized(lights, &TrafficLights::minimizeClicked);
        QTest::keyClick(m_view.get(), Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(minimized.size(), 1);
        m_view->showNormal();
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        QTest::keyClick(m_view.get(), Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!m_view->isVisible());
    }

    void everyControlIsNamedForScreenReaders() {
        m_bed->store.addFolder(MainWindowTestBed::folder(QStringLiteral("Work"), 2, true));
        m_bed->clock.advance(0.2);
        FolderCardView* card = m_view->folderList()->cards().value(0);
        QVERIFY(card);
        card->setExpanded(true);
        card->beginEditing();
        for (const bool settings : {false, true}) {
            if (settings)
                m_view->setSelection(NavigationPage::General);
            QStringList unnamed;
            for (QWidget* widget : m_view->findChildren<QWidget*>()) {
                if (!widget->isVisibleTo(m_view.get()) || !(widget->focusPolicy() & Qt::TabFocus) ||
                    widget->focusProxy())
                    continue;
                QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
                if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
                    unnamed.append(QString::fromLatin1(widget->metaObject()->className()));
            }
            QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u' ')));
        }
    }

    void aFailedSaveShowsANoticeUntilTheFileCatchesUp() {
        FolderStore& store = m_bed->store;
        NoticeBanner* notice = m_view->saveNotice();
        QVERIFY(notice->isHidden());
        QVERIFY(QDir().mkpath(store.saveURL())); // a folder where the file should be
        store.addFolder(MainWindowTestBed::folder(QStringLiteral("Work"), 1));
        store.addFolder(MainWindowTestBed::folder(QStringLiteral("Games"), 1));
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->title(), QStringLiteral("Your changes are not saved yet"));
        QCOMPARE(notice->message(), "Trellin will keep trying. The system said: " + store.saveFailureReason());
        // Screen readers meet it as an alert, named by its title and described by its message.
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(notice);
        QCOMPARE(accessible->role(), QAccessible::AlertMessage);
        QCOMPARE(accessible->text(QAccessible::Name), notice->title());
        QCOMPARE(accessible->text(QAccessible::Description), notice->message());
        QCOMPARE(notice->focusPolicy(), Qt::NoFocus);

        // Above the page, not over it: every control of the list stays clear of it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const auto area = [this](const QWidget* widget) {
            return QRect(widget->mapTo(m_view.get(), QPoint()), widget->size());
        };
        FoldersListView* list = m_view->folderList();
        for (const QWidget* control :
             {static_cast<const QWidget*>(list->searchField()), static_cast<const QWidget*>(list->filterTabs()),
              static_cast<const QWidget*>(list->newFolderButton()),
              static_cast<const QWidget*>(list->cards().value(0))})
            QVERIFY(!area(notice).intersects(area(control)));

        m_bed->settings->setLanguage(AppLanguage::Ukrainian);
        QCOMPARE(notice->title(), m_bed->localization.text(L10nKey::saveFailedTitle));
        QVERIFY(notice->title() != QStringLiteral("Your changes are not saved yet"));
        QVERIFY(notice->message().endsWith(store.saveFailureReason()));

        // A settings page keeps its room: the window grows by the notice, and shrinks back with it.
        m_view->setSelection(NavigationPage::General);
        m_bed->clock.advance(0);
        const int pageHeight = m_view->currentPage()->height();
        const int windowHeight = m_view->height();
        QVERIFY(QDir().rmdir(store.saveURL()));
        m_bed->clock.advance(FolderStore::saveRetryInterval);
        QVERIFY(notice->isHidden());
        QCOMPARE(FolderCodec::decode(readFile(store.saveURL()), 0)->size(), 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QVERIFY(m_view->height() < windowHeight);
        QCOMPARE(m_view->currentPage()->height(), pageHeight);
    }

private:
    std::unique_ptr<MainWindowTestBed> m_bed;
    MainWindowNavigation m_navigation;
    std::unique_ptr<MainWindowView> m_view;
};

QTEST_MAIN(MainWindowViewTest)
#include "MainWindowViewTest.moc"
