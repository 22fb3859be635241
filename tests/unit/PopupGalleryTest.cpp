// A gallery of popups over the placements and settings a user meets, written next to the test
// as popup-gallery.png for a person to look at, and the notice of a failed launch in each
// language and theme as popup-notice-<look>.png. Big folders are shown on a whole 1280 × 800
// screen at each Dock edge and centred (popup-screen-<folder>-<place>-<look>.png), small ones
// side by side (popup-small-<look>.png). Each picture is also checked for what a person would
// see wrong in it: content outside the card, controls on top of one another, an empty picture.
#include "GalleryLooks.h"
#include "PopupTestBed.h"
#include "popup/FolderPopupView.h"
#include "popup/PopupAppIconView.h"
#include "popup/PopupNotice.h"
#include "widgets/GlyphButton.h"
#include "widgets/ScrollView.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>

class PopupGalleryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_faults.clear(); }
    void cleanup() { QVERIFY2(m_faults.isEmpty(), qPrintable(m_faults.join(QLatin1Char('\n')))); }
    void galleryOfPopups();
    void launchFailureNotices_data() { addGalleryLooks(); }
    void launchFailureNotices();
    void pinnedPopupAcrossAThemeSwitch_data() { addGalleryLooks(); }
    void pinnedPopupAcrossAThemeSwitch();
    void bigFoldersOnAScreen_data() { addGalleryLooks(); }
    void bigFoldersOnAScreen();
    void smallFolders_data() { addGalleryLooks(); }
    void smallFolders();

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
        // Shown as a window system without a compositor shows it: cut to the card's mask, with
        // see-through pixels inside it black.
        bool opaqueWindow = false;
    };
    QImage render(PopupTestBed& bed, const Sample& sample);
    // What is wrong with the view as laid out, said as "<sample>: <fault>".
    void check(const FolderPopupView& view, const QString& sample);
    // Faults found while rendering; each case fails when it has any.
    QStringList m_faults;
    // The screen with its Dock at `edge` (none: centred over a bottom Dock) and the popup the
    // controller opens for `folder` from a click on the Dock, after `scrolled` points of scrolling.
    QImage screenWith(PopupTestBed& bed, const AppFolder& folder, std::optional<DockEdge> edge, int scrolled);
    static void setLook(PopupTestBed& bed);
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
    PopupEnvironment environment = bed.popupEnvironment;
    environment.translucentWindows = !sample.opaqueWindow;
    FolderPopupView view(environment, PopupPanelController::spacing, PopupTestBed::folder(sample.apps, sample.label),
                         sample.edge, {}, {}, colorSchemeFor(sample.theme));
    view.show();
    if (sample.focusCell) {
        view.activateWindow();
        if (!QTest::qWaitForWindowActive(&view))
            m_faults << sample.label + QStringLiteral(": the view never became active");
        view.focusFirstControl();
        QTest::keyClick(view.focusWidget(), Qt::Key_Right);
    }
    if (sample.failedLaunch >= 0) {
        view.cells().at(sample.failedLaunch)->click();
        bed.workspace.finishOpens(QStringLiteral("the gallery's launches fail"));
        if (!view.launchFailureNotice())
            m_faults << sample.label + QStringLiteral(": no notice of the failed launch");
    }
    QImage image(view.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(sample.opaqueWindow ? Qt::black : Qt::transparent);
    view.render(&image, {}, {}, QWidget::DrawChildren);
    check(view, sample.label);
    if (sample.opaqueWindow) {
        QPainter cut(&image);
        cut.setCompositionMode(QPainter::CompositionMode_Clear);
        cut.setClipRegion(QRegion(view.rect()).subtracted(view.cardMask()));
        cut.fillRect(view.rect(), Qt::transparent);
    }
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

void PopupGalleryTest::setLook(PopupTestBed& bed) {
    QFETCH(bool, ukrainian);
    QFETCH(bool, dark);
    bed.settings->setLanguage(ukrainian ? AppLanguage::Ukrainian : AppLanguage::English);
    bed.settings->setAppTheme(dark ? AppThemeMode::Dark : AppThemeMode::Light);
    bed.settings->setPopupAnimationStyle(PopupAnimation::None);
    bed.settings->setPopupColumns(3);
}

QImage PopupGalleryTest::screenWith(PopupTestBed& bed, const AppFolder& folder, std::optional<DockEdge> edge,
                                    int scrolled) {
    const QRectF frame(0, 0, 1280, 800);
    constexpr double dock = 66;
    const DockEdge at = edge.value_or(DockEdge::Bottom);
    QRectF visible = frame;
    QPointF click;
    switch (at) {
    case DockEdge::Bottom:
        visible = {0, dock, 1280, 800 - dock};
        click = {520, dock / 2};
        break;
    case DockEdge::Left:
        visible = {dock, 0, 1280 - dock, 800};
        click = {dock / 2, 560};
        break;
    case DockEdge::Right:
        visible = {0, 0, 1280 - dock, 800};
        click = {1280 - dock / 2, 240};
        break;
    }
    bed.screens.frames = {{frame, visible}};
    bed.screens.mouse = click;
    bed.settings->setPopupPosition(edge ? PopupPosition::AboveDock : PopupPosition::Center);
    bed.clock.advance(1);
    bed.controller.closePopup();
    bed.clock.advance(1);
    bed.controller.presentPopup(folder);
    bed.clock.advance(0); // the arrow's offset
    FolderPopupView* view = bed.controller.popupPanel()->contentView();
    view->grid()->setOffset(scrolled);

    QImage screen(1280, 800, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&screen);
    QLinearGradient desktop(0, 0, 1280, 800);
    desktop.setColorAt(0, QColor(40, 90, 160));
    desktop.setColorAt(0.5, QColor(210, 170, 120));
    desktop.setColorAt(1, QColor(30, 120, 90));
    painter.fillRect(screen.rect(), desktop);
    // The Dock's strip, and the clicked tile on it.
    const QRect strip = bed.screens.toWindowGeometry(
        at == DockEdge::Bottom ? QRectF(0, 0, 1280, dock)
                               : (at == DockEdge::Left ? QRectF(0, 0, dock, 800) : QRectF(1280 - dock, 0, dock, 800)));
    painter.fillRect(strip, QColor(20, 20, 24, 170));
    const QPoint tile = bed.screens.toWindowGeometry(QRectF(click, QSizeF(0, 0))).topLeft();
    painter.fillRect(QRect(tile - QPoint(24, 24), QSize(48, 48)), QColor(240, 240, 240, 200));
    painter.end();
    const QRect window = bed.screens.toWindowGeometry(bed.controller.popupPanel()->frame());
    view->render(&screen, window.topLeft(), {}, QWidget::DrawChildren);
    check(*view, QStringLiteral("%1 apps at edge %2").arg(folder.apps.size()).arg(int(at)));
    return screen;
}

void PopupGalleryTest::check(const FolderPopupView& view, const QString& sample) {
    const QRect card = view.cardMask().boundingRect();
    if (card.isEmpty()) {
        m_faults << sample + QStringLiteral(": no card");
        return;
    }
    // The header's pieces, the notice, the grid and an empty folder's note: inside the card and,
    // within one parent, apart from one another.
    QList<const QWidget*> parents{&view};
    for (const QWidget* child : view.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != view.grid() && !child->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty())
            parents << child;
    }
    for (const QWidget* parent : std::as_const(parents)) {
        QList<QRect> placed;
        for (const QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isHidden() || child->geometry().isEmpty())
                continue;
            const QRect inView(child->mapTo(&view, QPoint(0, 0)), child->size());
            const QString name = QString::fromLatin1(child->metaObject()->className());
            if (!card.contains(inView))
                m_faults << sample + QStringLiteral(": %1 reaches outside the card").arg(name);
            for (const QRect& other : std::as_const(placed)) {
                if (other.intersects(inView))
                    m_faults << sample + QStringLiteral(": %1 lies over another control").arg(name);
            }
            placed << inView;
        }
    }
    if (!view.cells().isEmpty() && view.grid()->height() <= 0)
        m_faults << sample + QStringLiteral(": the grid has no height");
}

void PopupGalleryTest::bigFoldersOnAScreen() {
    PopupTestBed bed;
    setLook(bed);
    const QString look = QString::fromLatin1(QTest::currentDataTag());
    const QString dir = QCoreApplication::applicationDirPath();
    const AppFolder forty = PopupTestBed::folder(40, QStringLiteral("Everything"));
    const QList<std::pair<QString, std::optional<DockEdge>>> places{{QStringLiteral("bottom"), DockEdge::Bottom},
                                                                    {QStringLiteral("left"), DockEdge::Left},
                                                                    {QStringLiteral("right"), DockEdge::Right},
                                                                    {QStringLiteral("centred"), std::nullopt}};
    for (const auto& [place, edge] : places)
        QVERIFY(
            screenWith(bed, forty, edge, 0).save(dir + QStringLiteral("/popup-screen-40-%1-%2.png").arg(place, look)));
    // Two hundred, scrolled part of the way.
    QVERIFY(screenWith(bed, PopupTestBed::folder(200, QStringLiteral("Everything")), DockEdge::Bottom, 2000)
                .save(dir + QStringLiteral("/popup-screen-200-bottom-%1.png").arg(look)));
}

void PopupGalleryTest::smallFolders() {
    PopupTestBed bed;
    setLook(bed);
    const AppThemeMode theme = bed.settings->appTheme();
    const QList<Sample> samples{
        {.label = QStringLiteral("Terminals"), .theme = theme, .apps = 1},
        {.label = QStringLiteral("Later"), .theme = theme, .apps = 0},
        {.label = QStringLiteral("Later"), .position = PopupPosition::Center, .theme = theme, .apps = 0},
        {.label = QStringLiteral("Ігри та їжа"), .position = PopupPosition::Center, .theme = theme, .apps = 2},
        {.label = QStringLiteral("Terminals"), .edge = DockEdge::Left, .theme = theme, .apps = 1},
        {.label = QStringLiteral("Terminals"), .theme = theme, .apps = 4, .focusCell = true},
        {.label = QStringLiteral("Opaque"), .theme = theme, .apps = 2, .opaqueWindow = true},
        {.label = QStringLiteral("Opaque"), .position = PopupPosition::Center, .theme = theme, .opaqueWindow = true},
    };
    QList<QImage> images;
    for (const Sample& sample : samples)
        images.append(render(bed, sample));
    QVERIFY(sheetOf(images, 3).save(QCoreApplication::applicationDirPath() + QStringLiteral("/popup-small-") +
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
