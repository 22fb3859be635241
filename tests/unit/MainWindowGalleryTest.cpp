// A gallery of the main window in the states a user meets (a save that failed among them), in
// both languages and both themes, written next to the test as
// main-window-gallery-<language>-<theme>.png for a person to look at; and the checks that each
// state's picture is what was asked for.
#include "GalleryLooks.h"
#include "MainWindowTestBed.h"
#include "ui/AppPickerView.h"
#include "ui/FolderCardView.h"
#include "ui/FoldersListView.h"
#include "ui/MainWindowNavigation.h"
#include "ui/MainWindowView.h"
#include "ui/ModalLayer.h"
#include "widgets/NoticeBanner.h"
#include "widgets/SearchInputField.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTest>

class MainWindowGalleryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void galleryOfStates_data() { addGalleryLooks(); }

    void galleryOfStates() {
        QFETCH(bool, ukrainian);
        QFETCH(bool, dark);
        MainWindowTestBed bed;
        bed.settings->setHasCompletedOnboarding(true);
        bed.settings->setLanguage(ukrainian ? AppLanguage::Ukrainian : AppLanguage::English);
        bed.settings->setAppTheme(dark ? AppThemeMode::Dark : AppThemeMode::Light);
        MainWindowNavigation navigation;
        MainWindowView view(
            {.environment = bed.environment, .navigation = navigation, .notifications = bed.home.localNotifications});
        view.show();
        bed.clock.advance(0);
        FolderStore& store = bed.store;
        QList<QImage> shots;

        shots.append(shot(view, bed)); // no folders
        store.addFolder(MainWindowTestBed::folder(QStringLiteral("Work"), 6, true));
        store.addFolder(MainWindowTestBed::folder(QStringLiteral("Ігри та їжа"), 3));
        store.addFolder(MainWindowTestBed::folder(QStringLiteral("Інструменти"), 0));
        store.setNewlyAddedFolderID(std::nullopt);
        bed.clock.advance(0.2);
        FolderCardView* first = view.folderList()->cards().value(0);
        QVERIFY(first);
        for (FolderCardView* card : view.folderList()->cards())
            card->setExpanded(card == first);
        shots.append(shot(view, bed)); // three folders, one expanded
        first->beginEditing();
        shots.append(shot(view, bed)); // edit mode
        store.setFolderPendingDelete(store.folders().at(0));
        shots.append(shot(view, bed, true)); // delete dialog
        QCOMPARE(view.modalLayer()->shownDialog(), ModalDialog::DeleteConfirmation);
        store.setFolderPendingDelete(std::nullopt);
        store.setShowingFolderEditor(true);
        shots.append(shot(view, bed, true)); // editor sheet
        store.setShowingFolderEditor(false);
        // The application picker over the folder being edited: one app chosen, one in the folder already.
        const QStringList apps{QStringLiteral("Calculator"),
                               QStringLiteral("Mail"),
                               QStringLiteral("Notes"),
                               QStringLiteral("Photo Booth"),
                               QStringLiteral("Preview"),
                               QStringLiteral("Safari"),
                               QStringLiteral("System Information Utility"),
                               QStringLiteral("Terminal")};
        for (const QString& app : apps) {
            const QString id =
                app == QStringLiteral("Mail") ? QStringLiteral("app.example.2") : QString("com.example." + app);
            bed.home.makeBundle(QString("Applications/" + app + ".app"),
                                {{"CFBundleIdentifier", id}, {"CFBundleName", app}});
        }
        first->requestAddApps();
        bed.clock.advance(0);
        auto* picker = qobject_cast<AppPickerView*>(view.modalLayer()->panel());
        QVERIFY(picker);
        picker->toggle(picker->allApps().at(2).id);
        QTest::qWait(50);
        shots.append(shot(view, bed, true)); // application picker
        store.setShowingAppPicker(false);
        QTest::qWait(700); // the dialog leaves
        view.folderList()->searchField()->setText(QStringLiteral("zzz"));
        shots.append(shot(view, bed)); // search empty state
        view.folderList()->searchField()->setText({});
        // An application not installed here, and a deleted folder that can still come back.
        AppFolder games = store.folders().at(1);
        games.apps.append({QUuid::createUuid(), QStringLiteral("Elsewhere"), QStringLiteral("org.example.Elsewhere"),
                           AppItem::fileURLForPath(QStringLiteral("/nowhere/Elsewhere.app"), true)});
        store.updateFolder(games);
        bed.clock.advance(0.2);
        for (FolderCardView* card : view.folderList()->cards())
            card->setExpanded(card->folder().id == games.id);
        view.deleteConfirmedFolder(store.folders().at(2));
        bed.clock.advance(0.2);
        QVERIFY(view.newsNotice()->isVisible());
        shots.append(shot(view, bed)); // a missing application and the undo notice
        QVERIFY(view.undoDelete());
        bed.clock.advance(0.2);
        view.setSelection(NavigationPage::Popup);
        bed.clock.advance(0);
        shots.append(shot(view, bed)); // a settings tab selected

        // A save that failed: the notice over the settings page and over the list.
        QVERIFY(QFile::remove(store.saveURL()) && QDir().mkpath(store.saveURL()));
        AppFolder renamed = store.folders().at(1);
        renamed.name = QStringLiteral("Games & Fun");
        store.updateFolder(renamed);
        QVERIFY(view.saveNotice()->isVisible());
        shots.append(shot(view, bed)); // the notice on a settings page
        view.setSelection(NavigationPage::AllFolders);
        bed.clock.advance(0);
        shots.append(shot(view, bed)); // the notice over the folder list
        store.setShowingEmptyFolderAlert(true);
        shots.append(shot(view, bed, true)); // the notice stays clear of a dialog's backdrop
        store.setShowingEmptyFolderAlert(false);

        const QString name =
            QStringLiteral("main-window-gallery-%1.png").arg(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(sheet(shots).save(QCoreApplication::applicationDirPath() + u'/' + name));
    }

private:
    // The window as drawn once its animations have settled.
    static QImage shot(MainWindowView& view, MainWindowTestBed& bed, bool dialog = false) {
        bed.clock.advance(0.3);
        QTest::qWait(dialog ? 500 : 30);
        QImage image(view.size() * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(QColor(120, 140, 170));
        QPainter painter(&image);
        view.render(&painter, {}, {}, QWidget::DrawChildren);
        return image;
    }

    // The shots side by side, four to a row.
    static QImage sheet(const QList<QImage>& shots) {
        int cellWidth = 0;
        int cellHeight = 0;
        for (const QImage& image : shots) {
            cellWidth = std::max(cellWidth, image.width());
            cellHeight = std::max(cellHeight, image.height());
        }
        const int columns = 4;
        const int rows = int((shots.size() + columns - 1) / columns);
        QImage sheet(columns * (cellWidth + 20) + 20, rows * (cellHeight + 20) + 20, QImage::Format_RGB32);
        sheet.fill(QColor(120, 140, 170));
        QPainter painter(&sheet);
        for (int i = 0; i < shots.size(); ++i) {
            QImage image = shots[i];
            image.setDevicePixelRatio(1);
            painter.drawImage(20 + (i % columns) * (cellWidth + 20), 20 + (i / columns) * (cellHeight + 20), image);
        }
        return sheet;
    }
};

QTEST_MAIN(MainWindowGalleryTest)
#include "MainWindowGalleryTest.moc"
