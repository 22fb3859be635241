// Naming, picking and styling a folder as a person sees it, in both languages and both themes:
// the card's rename with its hint line, the editor sheet's hint and counter, the picker's empty
// search and the tile page with the border off in glass mode; written next to the test as
// folder-editing-gallery-<language>-<theme>.png.
#include "GalleryLooks.h"
#include "MainWindowTestBed.h"
#include "ui/AppPickerView.h"
#include "ui/FolderCardView.h"
#include "ui/FolderNameHint.h"
#include "ui/FoldersListView.h"
#include "ui/MainWindowNavigation.h"
#include "ui/MainWindowView.h"
#include "ui/ModalLayer.h"
#include "ui/NewFolderSheet.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

class FolderEditingGalleryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gallery_data() { addGalleryLooks(); }

    void gallery() {
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
        AppFolder work = MainWindowTestBed::folder(ukrainian ? QStringLiteral("Робота") : QStringLiteral("Work"), 5);
        work.tileStyle.backgroundMode = TileBackgroundMode::Glass;
        store.addFolder(work);
        store.addFolder(MainWindowTestBed::folder(ukrainian ? QStringLiteral("Ігри") : QStringLiteral("Games"), 2));
        store.setNewlyAddedFolderID(std::nullopt);
        bed.clock.advance(0.2);
        QList<QImage> shots;

        // The card being renamed: a refused sign, and the counter near the limit.
        FolderCardView* card = view.folderList()->cards().value(0);
        QVERIFY(card);
        card->setExpanded(true);
        card->beginEditing();
        card->nameField()->clear();
        card->nameField()->insert(ukrainian ? QStringLiteral("Дизайн & Медіа-пакет")
                                            : QStringLiteral("Design & Media Tools"));
        QVERIFY(!card->nameHint()->message().isEmpty());
        QVERIFY(!card->nameHint()->counter().isEmpty());
        // One app gone: the count says so at once.
        card->removeApp(card->editingApps().first().id);
        shots.append(shot(view, bed));

        // The editor sheet with a pasted name that lost a character.
        store.setShowingFolderEditor(true);
        bed.clock.advance(0);
        auto* sheet = qobject_cast<NewFolderSheet*>(view.modalLayer()->panel());
        QVERIFY(sheet);
        sheet->nameField()->insert(ukrainian ? QStringLiteral("Фото/Відео за рік")
                                             : QStringLiteral("Photos/Videos 2026"));
        QVERIFY(!sheet->nameHint()->message().isEmpty());
        shots.append(shot(view, bed, true));
        sheet->cancel();
        QTest::qWait(700);

        // The picker when a search finds nothing: said so, and Add is off.
        card->requestAddApps();
        bed.clock.advance(0);
        auto* picker = qobject_cast<AppPickerView*>(view.modalLayer()->panel());
        QVERIFY(picker);
        QTest::keyClicks(picker->searchField(), QStringLiteral("zzz"));
        shots.append(shot(view, bed, true));
        picker->cancel();
        QTest::qWait(700);

        // The tile page for a glass folder without a border: those rows dimmed.
        view.setSelection(NavigationPage::Tile);
        bed.clock.advance(0.3);
        shots.append(shot(view, bed));

        const QString name =
            QStringLiteral("folder-editing-gallery-%1.png").arg(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(sheetOf(shots).save(QCoreApplication::applicationDirPath() + u'/' + name));
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

    static QImage sheetOf(const QList<QImage>& shots) {
        int width = 20;
        int height = 0;
        for (const QImage& image : shots) {
            width += image.width() + 20;
            height = std::max(height, image.height());
        }
        QImage sheet(width, height + 40, QImage::Format_RGB32);
        sheet.fill(QColor(120, 140, 170));
        QPainter painter(&sheet);
        int x = 20;
        for (QImage image : shots) {
            image.setDevicePixelRatio(1);
            painter.drawImage(x, 20, image);
            x += image.width() + 20;
        }
        return sheet;
    }
};

QTEST_MAIN(FolderEditingGalleryTest)
#include "FolderEditingGalleryTest.moc"
