// A gallery of popups over the placements and settings a user meets, written next to the test
// as popup-gallery.png for a person to look at, and the notice of a failed launch in each
// language and theme as popup-notice-<look>.png.
#include "GalleryLooks.h"
#include "PopupTestBed.h"
#include "popup/FolderPopupView.h"
#include "popup/PopupAppIconView.h"
#include "popup/PopupNotice.h"
#include "widgets/GlyphButton.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>

class PopupGalleryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void galleryOfPopups();
    void launchFailureNotices_data() { addGalleryLooks(); }
    void launchFailureNotices();
    void pinnedPopupAcrossAThemeSwitch_data() { addGalleryLooks(); }
    void pinnedPopupAcrossAThemeSwitch();

private:
    struct Sample {
        QString label;
        DockEdge edge = DockEdge::Bottom;
        PopupPosition position = PopupPosition::AboveDock;
        AppThemeMode theme = AppThemeMode::Dark;
        int apps = 3;
        bool title = true;
        double arrowOffset = 0;
        bool focusCell = false;
        PopupBlur blur = PopupBlur::Thin;
        // The application whose launch failed, by its place in the grid.
        int failedLaunch = -1;
    };
    QImage render(PopupTestBed& bed, const Sample& sample);
    // The pictures in rows of `perRow` over a desktop's colours, each row as high as its tallest.
    static QImage sheetOf(const QList<QImage>& images, int perRow);
};

QImage PopupGalleryTest::render(PopupTestBed& bed, const Sample& sample) {
    AppSettings& settings = *bed.settings;
    settings.setPopupPosition(sample.position);
    settings.setAppTheme(sample.theme);
    settings.setPopupShowTitle(sample.title);
    settings.setPopupArrowOffset(sample.arrowOffset);
    settings.setPopupBlurStyle(sample.blur);
    settings.setPopupAnimationStyle(PopupAnimation::None);
    FolderPopupView view(bed.popupEnvironment, PopupPanelController::spacing,
                         PopupTestBed::folder(sample.apps, sample.label), sample.edge, {}, {},
                         colorSchemeFor(sample.theme));
    view.show();
    if (sample.focusCell) {
        view.activateWindow();
        if (!QTest::qWaitForWindowActive(&view))
            qWarning("the view never became active");
        view.focusFirstControl();
        QTest::keyClick(view.focusWidget(), Qt::Key_Right);
    }
    if (sample.failedLaunch >= 0) {
        view.cells().at(sample.failedLaunch)->click();
        bed.workspace.finishOpens(QStringLiteral("the gallery's launches fail"));
        if (!view.launchFailureNotice())
            qWarning("no notice of the failed launch");
    }
    QImage image(view.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    view.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

void PopupGalleryTest::galleryOfPopups() {
    PopupTestBed bed;
    const QList<Sample> samples{
        {.label = QStringLiteral("Bottom")},
        {.label = QStringLiteral("Shifted"), .arrowOffset = -40},
        {.label = QStringLiteral("Clamped"), .arrowOffset = 999},
        {.label = QStringLiteral("Left"), .edge = DockEdge::Left, .arrowOffset = 30},
        {.label = QStringLiteral("Right"), .edge = DockEdge::Right},
        {.label = QStringLiteral("Centred"), .position = PopupPosition::Center},
        {.label = QStringLiteral("Light"), .theme = AppThemeMode::Light, .blur = PopupBlur::Regular},
        {.label = QStringLiteral("Light centred"), .position = PopupPosition::Center, .theme = AppThemeMode::Light},
        {.label = QStringLiteral("No title"), .title = false},
        {.label = QStringLiteral("One"), .apps = 1, .blur = PopupBlur::Dark},
        {.label = QStringLiteral("Empty"), .apps = 0},
        {.label = QStringLiteral("Focus"), .focusCell = true},
        {.label = QStringLiteral("A folder with a rather long name"), .position = PopupPosition::Center, .apps = 24},
    };
    QList<QImage> images;
    for (const Sample& sample : samples)
        images.append(render(bed, sample));
    QVERIFY(sheetOf(images, 4).save(QCoreApplication::applicationDirPath() + QStringLiteral("/popup-gallery.png")));
}

void PopupGalleryTest::launchFailureNotices() {
    QFETCH(bool, ukrainian);
    QFETCH(bool, dark);
    PopupTestBed bed;
    bed.settings->setLanguage(ukrainian ? AppLanguage::Ukrainian : AppLanguage::English);
    const AppThemeMode theme = dark ? AppThemeMode::Dark : AppThemeMode::Light;
    const QList<Sample> samples{
        {.label = QStringLiteral("Work"), .theme = theme, .failedLaunch = 0},
        {.label = QStringLiteral("One"), .theme = theme, .apps = 1, .failedLaunch = 0},
        {.label = QStringLiteral("No title"), .theme = theme, .apps = 5, .title = false, .failedLaunch = 3},
        {.label = QStringLiteral("Centred"),
         .position = PopupPosition::Center,
         .theme = theme,
         .apps = 8,
         .blur = PopupBlur::Dark,
         .failedLaunch = 1},
    };
    QList<QImage> images;
    for (const Sample& sample : samples)
        images.append(render(bed, sample));
    QVERIFY(sheetOf(images, 4).save(QCoreApplication::applicationDirPath() + QStringLiteral("/popup-notice-") +
                                    QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".png")));
}

void PopupGalleryTest::pinnedPopupAcrossAThemeSwitch() {
    QFETCH(bool, ukrainian);
    QFETCH(bool, dark);
    PopupTestBed bed;
    AppSettings& settings = *bed.settings;
    settings.setLanguage(ukrainian ? AppLanguage::Ukrainian : AppLanguage::English);
    settings.setPopupPosition(PopupPosition::Center);
    settings.setPopupAnimationStyle(PopupAnimation::None);
    const AppThemeMode from = dark ? AppThemeMode::Dark : AppThemeMode::Light;
    const AppThemeMode to = dark ? AppThemeMode::Light : AppThemeMode::Dark;
    settings.setAppTheme(from);
    bed.controller.presentPopup(PopupTestBed::folder(3, QStringLiteral("Pinned")));
    FolderPopupView* view = bed.controller.popupPanel()->contentView();
    view->pinButton()->click();
    const auto picture = [&] {
        FolderPopupView* shown = bed.controller.popupPanel()->contentView();
        QImage image(shown->size() * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(Qt::transparent);
        shown->render(&image, {}, {}, QWidget::DrawChildren);
        return image;
    };
    // Before, after the switch, and back.
    QList<QImage> images{picture()};
    for (const AppThemeMode theme : {to, from}) {
        settings.setAppTheme(theme);
        bed.controller.setPopupAppearance(theme);
        images.append(picture());
    }
    QVERIFY(bed.controller.isPopupPinned());
    QVERIFY(sheetOf(images, 3).save(QCoreApplication::applicationDirPath() + QStringLiteral("/popup-theme-switch-") +
                                    QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".png")));
}

QImage PopupGalleryTest::sheetOf(const QList<QImage>& images, int perRow) {
    constexpr int margin = 16;
    int width = 0, height = margin;
    QList<int> rowHeights;
    for (qsizetype i = 0; i < images.size(); i += perRow) {
        int rowWidth = margin, rowHeight = 0;
        for (qsizetype j = i; j < std::min(images.size(), i + perRow); ++j) {
            rowWidth += images[j].width() / 2 + margin;
            rowHeight = std::max(rowHeight, images[j].height() / 2);
        }
        width = std::max(width, rowWidth);
        rowHeights.append(rowHeight);
        height += rowHeight + margin;
    }
    QImage gallery(width, height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&gallery);
    QLinearGradient desktop(0, 0, width, height);
    desktop.setColorAt(0, QColor(40, 90, 160));
    desktop.setColorAt(0.5, QColor(210, 170, 120));
    desktop.setColorAt(1, QColor(30, 120, 90));
    painter.fillRect(gallery.rect(), desktop);
    int y = margin;
    for (qsizetype i = 0; i < images.size(); i += perRow) {
        int x = margin;
        for (qsizetype j = i; j < std::min(images.size(), i + perRow); ++j) {
            painter.drawImage(QPointF(x, y), images[j]);
            x += images[j].width() / 2 + margin;
        }
        y += rowHeights[i / perRow] + margin;
    }
    painter.end();
    return gallery;
}

QTEST_MAIN(PopupGalleryTest)
#include "PopupGalleryTest.moc"
