// The main window's dialogs as a person meets them: what the window shows behind a dialog that
// opens again right after one closed, where the keyboard goes when a dialog closes, and a click
// that lands on the page while the backdrop still fades.
#include "ui/ModalLayer.h"
#include "MainWindowTestBed.h"
#include "VirtualAnimationDriver.h"
#include "ui/DeleteFolderConfirmationSheet.h"
#include "ui/FolderCardView.h"
#include "ui/FoldersListView.h"
#include "ui/IconGrid.h"
#include "ui/MainWindowNavigation.h"
#include "ui/MainWindowView.h"
#include "ui/NewFolderSheet.h"
#include "widgets/SearchInputField.h"
#include "widgets/TextButton.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

class ModalLayerTest : public QObject {
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
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        m_bed->clock.advance(0);
    }
    void cleanup() {
        m_view.reset();
        m_bed.reset();
    }

    void dialogOpenedRightAfterOneClosedShowsNothingOfThePage() {
        FolderStore& store = m_bed->store;
        // A list whose cards fill the window, so the page has plenty to show through.
        for (int i = 0; i < 8; ++i)
            store.addFolder(MainWindowTestBed::folder(QStringLiteral("Folder %1").arg(i), 3));
        m_bed->clock.advance(0);
        TextButton* newFolder = m_view->folderList()->newFolderButton();

        QTest::mouseClick(newFolder, Qt::LeftButton);
        m_driver.step(0.6);
        auto* sheet = qobject_cast<NewFolderSheet*>(m_view->modalLayer()->panel());
        QVERIFY(sheet);
        QTest::keyClicks(sheet->nameField(), QStringLiteral("Saved"));
        QTest::keyClick(sheet->nameField(), Qt::Key_Return);
        QCOMPARE(store.folders().size(), 9);
        // The list scrolls to the new card while the sheet leaves, and the sheet opens again.
        m_driver.step(0.2);
        m_bed->clock.advance(0.2);
        QTest::mouseClick(newFolder, Qt::LeftButton);
        m_driver.step(1.0);
        m_bed->clock.advance(0.5);

        sheet = qobject_cast<NewFolderSheet*>(m_view->modalLayer()->panel());
        QVERIFY(sheet);
        QVERIFY2(!sheet->graphicsEffect(), "a shown dialog paints directly, not from an effect's picture");
        // Scrolling the grid is what used to leave the page behind in it.
        IconGrid* grid = sheet->iconGrid();
        grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
        grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum() / 2);
        QApplication::processEvents();

        // What the window really shows, from its backing store.
        const QImage shown = m_view->screen()->grabWindow(m_view->winId()).toImage();
        QWidget* viewport = grid->viewport();
        const QRect area(viewport->mapTo(m_view.get(), QPoint(0, 0)), viewport->size());
        const qreal ratio = shown.devicePixelRatio();
        const QColor fill = grid->palette().color(QPalette::Base);
        int checked = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QPoint inViewport = viewport->mapFrom(m_view.get(), QPoint(x, y));
                QWidget* under = viewport->childAt(inViewport);
                if (under && under != grid->widget())
                    continue; // a cell draws its own glyph
                const QColor pixel = shown.pixelColor(QPoint(x, y) * ratio);
                QVERIFY2(qAbs(pixel.red() - fill.red()) <= 2 && qAbs(pixel.green() - fill.green()) <= 2 &&
                             qAbs(pixel.blue() - fill.blue()) <= 2,
                         qPrintable(QStringLiteral("(%1, %2) shows %3 instead of the grid's %4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(pixel.name(), fill.name())));
                ++checked;
            }
        }
        QVERIFY(checked > 1000);
    }

    void closingGivesTheKeyboardBackAndLetsTheNextClickThrough() {
        FolderStore& store = m_bed->store;
        TextButton* newFolder = m_view->folderList()->newFolderButton();
        newFolder->setFocus(Qt::TabFocusReason);
        QTest::keyClick(newFolder, Qt::Key_Space);
        QVERIFY(store.showingFolderEditor());
        m_driver.step(0.6);
        QVERIFY(m_view->modalLayer()->panel()->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!store.showingFolderEditor());
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), newFolder);

        // While the backdrop fades, a click on the page is the page's: here it opens the sheet again.
        QVERIFY(m_view->modalLayer()->isVisible());
        const QPoint onButton = newFolder->mapTo(m_view.get(), newFolder->rect().center());
        QTest::mouseClick(m_view->windowHandle(), Qt::LeftButton, {}, onButton);
        QVERIFY(store.showingFolderEditor());
        // A dialog that replaces another still hands the keyboard to the first one's opener.
        const AppFolder folder = MainWindowTestBed::folder(QStringLiteral("Work"), 1);
        store.addFolder(folder);
        store.setFolderPendingDelete(folder);
        QCOMPARE(m_view->modalLayer()->shownDialog(), ModalDialog::DeleteConfirmation);
        store.setFolderPendingDelete(std::nullopt);
        store.setShowingFolderEditor(false);
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), newFolder);
        m_driver.step(1.0);
        QVERIFY(!m_view->modalLayer()->isVisible());

        // The opener went with the dialog's work: the keyboard stays in the window, out of the dialog.
        m_bed->clock.advance(0);
        FolderCardView* card = m_view->folderList()->card(folder.id);
        QVERIFY(card);
        card->toggleExpanded();
        card->beginEditing();
        card->deleteButton()->setFocus(Qt::TabFocusReason);
        card->deleteButton()->click();
        m_driver.step(0.6);
        auto* confirmation = qobject_cast<DeleteFolderConfirmationSheet*>(m_view->modalLayer()->panel());
        QVERIFY(confirmation);
        QCOMPARE(m_view->modalLayer()->opener(), card->deleteButton());
        confirmation->deleteButton()->click();
        m_bed->clock.advance(0);
        QVERIFY(store.folders().isEmpty());
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused && m_view->isAncestorOf(focused) && !m_view->modalLayer()->isAncestorOf(focused));
    }

private:
    VirtualAnimationDriver m_driver;
    std::unique_ptr<MainWindowTestBed> m_bed;
    MainWindowNavigation m_navigation;
    std::unique_ptr<MainWindowView> m_view;
};

QTEST_MAIN(ModalLayerTest)
#include "ModalLayerTest.moc"
