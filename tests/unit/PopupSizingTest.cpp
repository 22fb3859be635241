// How big the popup grows and how the user reaches all of a big folder: the panel stays inside
// the screen at every Dock edge and when centred, and its grid scrolls by wheel, touchpad, drag
// and keyboard. Small folders keep their title, and an empty one says so and offers a way on.
// Its shape has no see-through rim where the window system cannot show one.
#include "PopupTestBed.h"
#include "model/FolderID.h"
#include "platform/NotificationNames.h"
#include "popup/FolderPopupView.h"
#include "popup/PopupAppIconView.h"
#include "widgets/GlyphButton.h"
#include "widgets/ScrollView.h"
#include "widgets/TextButton.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

namespace {

// A 1280 × 800 screen in y-up coordinates, its Dock (tiles of 48) keeping 66 points at one edge.
ScreenFrames screenWithDock(std::optional<DockEdge> edge) {
    const QRectF frame(0, 0, 1280, 800);
    if (!edge)
        return {frame, frame};
    switch (*edge) {
    case DockEdge::Bottom:
        return {frame, {0, 66, 1280, 734}};
    case DockEdge::Left:
        return {frame, {66, 0, 1214, 800}};
    case DockEdge::Right:
        return {frame, {0, 0, 1214, 800}};
    }
    return {frame, frame};
}

// The middle of the Dock's strip at that edge, where a click on a tile is.
QPointF onTheDock(DockEdge edge) {
    switch (edge) {
    case DockEdge::Bottom:
        return {640, 33};
    case DockEdge::Left:
        return {33, 400};
    case DockEdge::Right:
        return {1247, 400};
    }
    return {};
}

void wheel(QWidget* target, QPoint pixels, QPoint angle) {
    QWheelEvent event(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), pixels, angle, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

void mouse(QWidget* target, QEvent::Type type, QPointF local, Qt::MouseButtons buttons) {
    QMouseEvent event(type, local, target->mapToGlobal(local),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

class PopupSizingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { m_bed.reset(); }

    void bigFoldersStayOnScreen_data();
    void bigFoldersStayOnScreen();
    void wheelTouchpadAndDragScrollTheGrid();
    void theKeyboardKeepsTheFocusedCellInView();
    void smallFoldersKeepTheirTitle();
    void anEmptyFolderOffersTheMainWindow();
    void theFocusRingShowsAtOnceWhenNotOpenedByAClick();
    void withoutACompositorTheShapeHasNoSeeThroughRim();

private:
    FolderPopupView* view() const { return m_bed->controller.popupPanel()->contentView(); }
    ScrollView* grid() const { return view()->grid(); }
    // Whether all of the cell shows in the grid's region.
    bool inView(const PopupAppIconView* cell) const {
        return grid()->rect().contains(QRect(cell->mapTo(grid(), QPoint()), cell->size()));
    }
    void open(const AppFolder& folder, std::optional<DockEdge> edge, QPointF mouse) {
        m_bed->screens.frames = {screenWithDock(edge)};
        m_bed->screens.mouse = mouse;
        m_bed->clock.advance(1);
        m_bed->controller.presentPopup(folder);
        QVERIFY(m_bed->controller.isPopupVisible());
    }

    std::unique_ptr<PopupTestBed> m_bed;
};

void PopupSizingTest::init() {
    m_bed = std::make_unique<PopupTestBed>();
    m_bed->settings->setPopupAnimationStyle(PopupAnimation::None);
    m_bed->settings->setPopupColumns(3);
}

void PopupSizingTest::bigFoldersStayOnScreen_data() {
    QTest::addColumn<int>("apps");
    QTest::addColumn<int>("edge"); // -1: centred
    for (const int apps : {40, 200}) {
        QTest::addRow("%d-bottom", apps) << apps << int(DockEdge::Bottom);
        QTest::addRow("%d-left", apps) << apps << int(DockEdge::Left);
        QTest::addRow("%d-right", apps) << apps << int(DockEdge::Right);
        QTest::addRow("%d-centred", apps) << apps << -1;
    }
}

void PopupSizingTest::bigFoldersStayOnScreen() {
    QFETCH(int, apps);
    QFETCH(int, edge);
    const bool centred = edge < 0;
    const DockEdge dockEdge = centred ? DockEdge::Bottom : DockEdge(edge);
    if (centred)
        m_bed->settings->setPopupPosition(PopupPosition::Center);
    open(PopupTestBed::folder(apps), dockEdge, onTheDock(dockEdge));

    // The whole panel, shadows included, 8 points inside the visible frame (a point for rounding).
    const QRectF visible = screenWithDock(dockEdge).visibleFrame.adjusted(7, 7, -7, -7);
    const QRectF frame = m_bed->controller.popupPanel()->frame();
    QVERIFY2(
        visible.contains(frame),
        qPrintable(QStringLiteral("%1,%2 %3×%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())));
    // The title and close button show; the grid scrolls for the rest, first row first.
    GlyphButton* close = view()->closeButton();
    QVERIFY(close->isVisible());
    QVERIFY(view()->cardOutline().contains(QRectF(close->mapTo(view(), QPoint()), close->size())));
    QVERIFY(grid()->isScrollable());
    QCOMPARE(grid()->offset(), 0);
    QVERIFY(inView(view()->cells().first()));
    QVERIFY(!inView(view()->cells().last()));
    QCOMPARE(view()->gridColumns(), 3);
    // Where it opens next to the Dock, the arrow still points at the click.
    if (!centred && dockEdge != DockEdge::Bottom) {
        m_bed->clock.advance(0);
        const double middle = frame.y() + frame.height() / 2;
        QCOMPARE(middle - m_bed->settings->popupArrowOffset(), onTheDock(dockEdge).y());
    }
}

void PopupSizingTest::wheelTouchpadAndDragScrollTheGrid() {
    open(PopupTestBed::folder(40), DockEdge::Bottom, onTheDock(DockEdge::Bottom));
    const QList<PopupAppIconView*> cells = view()->cells();
    const int row = qRound(PopupAppIconView::cellHeight(*m_bed->settings) + 12);

    // A wheel notch moves a row; a touchpad moves by its points, half notches add up. (The region
    // takes them here; from a cell under the pointer they rise to it, as the e2e test drives.)
    wheel(grid(), {}, {0, -120});
    QCOMPARE(grid()->offset(), row);
    wheel(grid(), {0, 30}, {});
    QCOMPARE(grid()->offset(), row - 30);
    wheel(grid(), {}, {0, -60});
    wheel(grid(), {}, {0, -60});
    QCOMPARE(grid()->offset(), 2 * row - 30);
    // It stops at either end, with the last row then in view.
    for (int i = 0; i < 40; ++i)
        wheel(grid(), {}, {0, -120});
    QCOMPARE(grid()->offset(), grid()->maximumOffset());
    QVERIFY(inView(cells.last()));
    wheel(grid(), {0, 100000}, {});
    QCOMPARE(grid()->offset(), 0);

    // Dragging a cell scrolls and launches nothing; a click still launches.
    PopupAppIconView* pressed = cells[6];
    const QPointF at(pressed->width() / 2.0, pressed->height() / 2.0);
    mouse(pressed, QEvent::MouseButtonPress, at, Qt::LeftButton);
    QVERIFY(pressed->isDown());
    mouse(pressed, QEvent::MouseMove, at - QPointF(0, 150), Qt::LeftButton);
    QCOMPARE(grid()->offset(), 150);
    QVERIFY(!pressed->isDown());
    mouse(pressed, QEvent::MouseButtonRelease, at - QPointF(0, 150), Qt::NoButton);
    QVERIFY(m_bed->workspace.opened.isEmpty());
    // A press that wobbles less than the drag distance is a click.
    mouse(pressed, QEvent::MouseButtonPress, at, Qt::LeftButton);
    mouse(pressed, QEvent::MouseMove, at + QPointF(1, 1), Qt::LeftButton);
    mouse(pressed, QEvent::MouseButtonRelease, at + QPointF(1, 1), Qt::NoButton);
    QCOMPARE(grid()->offset(), 150);
    QCOMPARE(m_bed->workspace.opened.size(), 1);

    // A folder that fits does not scroll, and the wheel goes on to whatever is behind.
    m_bed->workspace.finishOpens(QStringLiteral("not this time"));
    m_bed->clock.advance(10);
    m_bed->controller.closePopup();
    open(PopupTestBed::folder(4), DockEdge::Bottom, onTheDock(DockEdge::Bottom));
    QVERIFY(!grid()->isScrollable());
    wheel(grid(), {}, {0, -120});
    QCOMPARE(grid()->offset(), 0);
}

void PopupSizingTest::theKeyboardKeepsTheFocusedCellInView() {
    open(PopupTestBed::folder(200), DockEdge::Right, onTheDock(DockEdge::Right));
    QVERIFY(QTest::qWaitForWindowActive(m_bed->controller.popupPanel()));
    const QList<PopupAppIconView*> cells = view()->cells();
    QTRY_VERIFY(cells[0]->hasFocus());
    const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };

    press(Qt::Key_End);
    QVERIFY(cells.last()->hasFocus());
    QVERIFY(inView(cells.last()));
    QCOMPARE(grid()->offset(), grid()->maximumOffset());
    // Down from the last row wraps to the first, and the grid follows.
    press(Qt::Key_Home);
    QVERIFY(cells[0]->hasFocus());
    QCOMPARE(grid()->offset(), 0);
    press(Qt::Key_Up);
    QVERIFY(cells[198]->hasFocus()); // 200 in three columns: the last row holds two
    QVERIFY(inView(cells[198]));
    press(Qt::Key_Down);
    QVERIFY(cells[0]->hasFocus());
    QVERIFY(inView(cells[0]));
    // Row by row and a page at a time, the focused cell always shows whole.
    for (int i = 0; i < 12; ++i) {
        press(Qt::Key_Down);
        QVERIFY(inView(qobject_cast<PopupAppIconView*>(QApplication::focusWidget())));
    }
    QVERIFY(cells[36]->hasFocus());
    press(Qt::Key_PageDown);
    const qsizetype afterPage = cells.indexOf(qobject_cast<PopupAppIconView*>(QApplication::focusWidget()));
    QVERIFY(afterPage > 36 + 3);
    QVERIFY(inView(cells[afterPage]));
    press(Qt::Key_PageUp);
    QVERIFY(cells[36]->hasFocus());
    QVERIFY(inView(cells[36]));
    // Tab leaves the grid for "Open all" and the close button and comes back to the same cell.
    press(Qt::Key_Tab);
    QVERIFY(view()->openAllButton()->hasFocus());
    press(Qt::Key_Tab);
    QVERIFY(view()->closeButton()->hasFocus());
    press(Qt::Key_Tab);
    QVERIFY(cells[36]->hasFocus());
}

void PopupSizingTest::smallFoldersKeepTheirTitle() {
    const QString name = QStringLiteral("Terminals");
    // One application above the Dock, and two centred with the pin: the whole name shows.
    open(PopupTestBed::folder(1, name), DockEdge::Bottom, onTheDock(DockEdge::Bottom));
    QCOMPARE(view()->titleLabel()->text(), name);
    const int oneWide = view()->width();
    m_bed->controller.closePopup();
    m_bed->settings->setPopupPosition(PopupPosition::Center);
    open(PopupTestBed::folder(2, name), DockEdge::Bottom, onTheDock(DockEdge::Bottom));
    QVERIFY(view()->pinButton());
    QCOMPARE(view()->titleLabel()->text(), name);
    QVERIFY(view()->width() > oneWide); // the pin takes room of its own
    // The title does not overlap the buttons.
    QVERIFY(view()->titleLabel()->geometry().right() < view()->pinButton()->geometry().left());
    m_bed->controller.closePopup();

    // A name longer than the screen is wide is cut, and the panel still fits.
    const QString longName = QStringLiteral("A folder whose name goes on and on ").repeated(8);
    open(PopupTestBed::folder(2, longName), DockEdge::Bottom, onTheDock(DockEdge::Bottom));
    QVERIFY(m_bed->controller.popupPanel()->frame().width() <= 1280 - 16);
    QVERIFY(view()->titleLabel()->text().endsWith(QChar(0x2026)));
}

void PopupSizingTest::anEmptyFolderOffersTheMainWindow() {
    const AppFolder empty = PopupTestBed::folder(0, QStringLiteral("Later"));
    open(empty, DockEdge::Bottom, onTheDock(DockEdge::Bottom));
    QVERIFY(QTest::qWaitForWindowActive(m_bed->controller.popupPanel()));
    QCOMPARE(view()->titleLabel()->text(), QStringLiteral("Later"));
    QLabel* message = view()->emptyFolderMessage();
    TextButton* button = view()->openInMainWindowButton();
    QVERIFY(message && message->isVisible());
    QCOMPARE(message->text(), QStringLiteral("This folder is empty"));
    QVERIFY(button && button->isVisible());
    QCOMPARE(button->text(), QStringLiteral("Open in Trellin"));
    // Both fit in the card, under the header.
    QVERIFY(view()->cardOutline().boundingRect().contains(QRectF(button->geometry())));
    QVERIFY(message->geometry().top() > view()->titleLabel()->mapTo(view(), QPoint()).y());
    QVERIFY(message->width() >= message->sizeHint().width());
    // The keyboard starts on the button; Return asks the main application and closes the popup.
    QTRY_VERIFY(button->hasFocus());
    QTest::keyClick(button, Qt::Key_Return);
    QTRY_VERIFY(!m_bed->controller.isPopupVisible());
    const Notification& asked = m_bed->home.distributedNotifications.posted.last();
    QCOMPARE(asked.name, QString(NotificationName::TROpenFolderInMainWindow));
    QCOMPARE(asked.object.toString(), FolderID::canonical(empty.id));

    m_bed->settings->setLanguage(AppLanguage::Ukrainian);
    open(empty, DockEdge::Bottom, onTheDock(DockEdge::Bottom));
    QCOMPARE(view()->emptyFolderMessage()->text(), QStringLiteral("Ця папка порожня"));
    QCOMPARE(view()->openInMainWindowButton()->text(), QStringLiteral("Відкрити в Trellin"));
    QVERIFY(view()->openInMainWindowButton()->width() >= view()->openInMainWindowButton()->sizeHint().width());
}

void PopupSizingTest::theFocusRingShowsAtOnceWhenNotOpenedByAClick() {
    const AppFolder folder = PopupTestBed::folder(4);
    // A click on the tile: the first cell has the keyboard, without a ring until a key is pressed.
    open(folder, DockEdge::Bottom, onTheDock(DockEdge::Bottom));
    QVERIFY(QTest::qWaitForWindowActive(m_bed->controller.popupPanel()));
    QTRY_VERIFY(view()->cells()[0]->hasFocus());
    QVERIFY(!view()->cells()[0]->isFocusRingVisible());
    m_bed->controller.closePopup();

    // Opened with the pointer away from the Dock, as from the keyboard: the ring shows at once.
    open(folder, DockEdge::Bottom, {640, 400});
    QVERIFY(QTest::qWaitForWindowActive(m_bed->controller.popupPanel()));
    QTRY_VERIFY(view()->cells()[0]->hasFocus());
    QVERIFY(view()->cells()[0]->isFocusRingVisible());
    m_bed->controller.closePopup();

    // Where no Dock keeps an edge nothing tells the two apart: no ring until a key.
    open(folder, std::nullopt, {640, 400});
    QVERIFY(QTest::qWaitForWindowActive(m_bed->controller.popupPanel()));
    QTRY_VERIFY(view()->cells()[0]->hasFocus());
    QVERIFY(!view()->cells()[0]->isFocusRingVisible());
}

void PopupSizingTest::withoutACompositorTheShapeHasNoSeeThroughRim() {
    // Where windows cannot be see-through, the window is cut to the card's mask and every pixel
    // inside it must be the card's: a see-through one shows black on the screen.
    PopupEnvironment opaque = m_bed->environment();
    opaque.translucentWindows = false;
    m_bed->settings->setAppTheme(AppThemeMode::Light);
    for (const DockEdge edge : {DockEdge::Bottom, DockEdge::Left, DockEdge::Right}) {
        FolderPopupView view(opaque, PopupPanelController::spacing, PopupTestBed::folder(3), edge, {}, {},
                             ColorScheme::Light);
        view.setAvailableSize({1280, 800});
        QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        view.render(&image, {}, {}, QWidget::DrawChildren);
        int seeThrough = 0;
        for (const QRect& part : view.cardMask())
            for (int y = part.top(); y <= part.bottom(); ++y)
                for (int x = part.left(); x <= part.right(); ++x)
                    seeThrough += qAlpha(image.pixel(x, y)) < 255;
        QCOMPARE(seeThrough, 0);
    }
}

QTEST_MAIN(PopupSizingTest)
#include "PopupSizingTest.moc"
