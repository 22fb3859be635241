// The tile page as a person sees it, in both languages and both themes: three folders, the colour
// picker open over it, and the empty state; written next to the test as
// appearance-gallery-<language>-<theme>.png.
#include "GalleryLooks.h"
#include "MainWindowTestBed.h"
#include "ui/AppearanceSettingsView.h"
#include "ui/CustomColorPickerPopup.h"
#include "widgets/Theme.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTest>

class AppearanceGalleryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gallery_data() { addGalleryLooks(); }

    void gallery() {
        QFETCH(bool, ukrainian);
        QFETCH(bool, dark);
        MainWindowTestBed bed;
        bed.settings->setLanguage(ukrainian ? AppLanguage::Ukrainian : AppLanguage::English);
        bed.settings->setAppTheme(dark ? AppThemeMode::Dark : AppThemeMode::Light);
        const QPalette palette = Theme::palette(dark ? ColorScheme::Dark : ColorScheme::Light);

        AppearanceSettingsView empty(bed.environment);
        empty.setPalette(palette);
        empty.resize(520, empty.sizeHint().height());
        empty.show();
        const QImage emptyShot = shot(empty);

        AppFolder work = MainWindowTestBed::folder(QStringLiteral("Work"), 4, true);
        work.tileStyle.backgroundStyle = TileBackground::Blue;
        work.tileStyle.borderEnabled = true;
        AppFolder games = MainWindowTestBed::folder(QStringLiteral("Games"), 1);
        games.tileStyle.backgroundStyle = TileBackground::Custom;
        games.tileStyle.customHex = QStringLiteral("FF2D55");
        AppFolder tools = MainWindowTestBed::folder(QStringLiteral("Інструменти для розробки"), 0);
        tools.tileStyle.displayFolderIcon = true;
        tools.emoji = QStringLiteral("hammer");
        for (const AppFolder& folder : {work, games, tools})
            bed.store.addFolder(folder);

        AppearanceSettingsView page(bed.environment);
        page.setPalette(palette);
        page.resize(520, page.sizeHint().height());
        page.show();
        const QImage first = shot(page);
        page.selectPreview(games.id);
        QTest::qWait(800); // the strip springs over
        const QImage second = shot(page);
        page.openCustomColorPicker();
        CustomColorPickerPopup* picker = page.colorPicker();
        QVERIFY(picker);
        picker->setPalette(palette);
        QTest::qWait(50);
        QImage withPicker = shot(page);
        {
            // The picker is a window of its own; draw it where it opened over the page.
            QPainter painter(&withPicker);
            const QPoint at = page.mapFromGlobal(picker->pos());
            picker->render(&painter, at, {}, QWidget::DrawChildren);
        }

        const QList<QImage> shots{emptyShot, first, second, withPicker};
        const QString name =
            QStringLiteral("appearance-gallery-%1.png").arg(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(sheet(shots).save(QCoreApplication::applicationDirPath() + u'/' + name));
        picker->close();
    }

private:
    static QImage shot(QWidget& widget) {
        QTest::qWait(30);
        // Room below for the picker, which opens under the colour row.
        QImage image(QSize(widget.width(), widget.height() + 300) * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(widget.palette().color(QPalette::Window));
        QPainter painter(&image);
        widget.render(&painter, {}, {}, QWidget::DrawWindowBackground | QWidget::DrawChildren);
        return image;
    }

    static QImage sheet(const QList<QImage>& shots) {
        int width = 0;
        int height = 0;
        for (const QImage& image : shots) {
            width = std::max(width, image.width());
            height = std::max(height, image.height());
        }
        QImage sheet(2 * (width + 20) + 20, 2 * (height + 20) + 20, QImage::Format_RGB32);
        sheet.fill(QColor(120, 140, 170));
        QPainter painter(&sheet);
        for (int i = 0; i < shots.size(); ++i) {
            QImage image = shots[i];
            image.setDevicePixelRatio(1);
            painter.drawImage(20 + (i % 2) * (width + 20), 20 + (i / 2) * (height + 20), image);
        }
        return sheet;
    }
};

QTEST_MAIN(AppearanceGalleryTest)
#include "AppearanceGalleryTest.moc"
