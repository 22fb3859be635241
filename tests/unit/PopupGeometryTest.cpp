// The popup's outline, grid columns and placement next to the Dock, as functions.
#include "model/DockHeight.h"
#include "popup/PopupLayout.h"
#include "popup/PopupPlacement.h"
#include "popup/PopupShape.h"

#include <QTest>

namespace {

// The outline's point furthest toward the Dock: the arrow's tip.
QPointF tip(const QPainterPath& path, DockEdge edge) {
    QPointF best = path.elementAt(0);
    for (int i = 1; i < path.elementCount(); ++i) {
        const QPointF p = path.elementAt(i);
        if ((edge == DockEdge::Bottom && p.y() > best.y()) || (edge == DockEdge::Left && p.x() < best.x()) ||
            (edge == DockEdge::Right && p.x() > best.x()))
            best = p;
    }
    return best;
}

ScreenFrames screen(QRectF frame, QRectF visible) {
    return {frame, visible};
}

} // namespace

class PopupGeometryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void arrowTipSitsOnItsSideAndStaysClearOfTheCorners();
    void columnsFollowTheAppsAndTheSetting();
    void dockEdgeIsTheSideWithAGap();
    void bottomDockPlacementClampsAndMeasuresTheArrow();
    void sideDocksPlaceBesideAndClampVertically();
    void hiddenDockFallsBackToTheTileSize();
    void hostDockStandsInForAnEdgeItDoesNotReserve();
    void roomStaysInsideTheVisibleFrame();
    void pointerAwayFromTheDockTellsAnOpeningWithoutAClick();
};

void PopupGeometryTest::arrowTipSitsOnItsSideAndStaysClearOfTheCorners() {
    const QRectF rect(0, 0, 200, 150);
    const QPainterPath bottom = PopupShape{DockEdge::Bottom, 18, 24, 12, 0}.path(rect);
    QCOMPARE(tip(bottom, DockEdge::Bottom), QPointF(100, 150));
    // The body ends 12 points above the tip.
    QVERIFY(bottom.contains(QPointF(30, 137)));
    QVERIFY(!bottom.contains(QPointF(30, 139)));

    // Too large an offset stops r + aw/2 = 30 points from the corner, on either side.
    QCOMPARE(tip(PopupShape{DockEdge::Bottom, 18, 24, 12, 999}.path(rect), DockEdge::Bottom), QPointF(170, 150));
    QCOMPARE(tip(PopupShape{DockEdge::Bottom, 18, 24, 12, -999}.path(rect), DockEdge::Bottom), QPointF(30, 150));

    // Side Docks measure along the height, downward.
    QCOMPARE(tip(PopupShape{DockEdge::Left, 18, 24, 12, 20}.path(rect), DockEdge::Left), QPointF(0, 95));
    QCOMPARE(tip(PopupShape{DockEdge::Right, 18, 24, 12, 999}.path(rect), DockEdge::Right), QPointF(200, 120));
    const QPainterPath left = PopupShape{DockEdge::Left, 18, 24, 12, 0}.path(rect);
    QVERIFY(!left.contains(QPointF(6, 20)));
    QVERIFY(left.contains(QPointF(14, 75)));
}

void PopupGeometryTest::columnsFollowTheAppsAndTheSetting() {
    QCOMPARE(PopupLayout::columnCount(0, 5), 1);
    QCOMPARE(PopupLayout::columnCount(-3, 5), 1);
    QCOMPARE(PopupLayout::columnCount(5, 3), 3);
    QCOMPARE(PopupLayout::columnCount(3, 24), 3);
    // No applications: one column, as wide as one cell.
    QCOMPARE(PopupLayout::columnCount(4, 0), 1);
    QCOMPARE(PopupLayout::contentWidth(1, 52, 8), 68.0);
    QCOMPARE(PopupLayout::contentWidth(3, 52, 8), 8.0 * 2 + 68.0 * 3);
}

void PopupGeometryTest::dockEdgeIsTheSideWithAGap() {
    DockHeight height;
    PopupPlacement::Memory memory{height};
    const QRectF frame(0, 0, 1440, 900);

    QCOMPARE(PopupPlacement::detectDockEdge(screen(frame, {70, 0, 1370, 875}), memory), DockEdge::Left);
    QCOMPARE(memory.lastDockEdge, DockEdge::Left);
    QCOMPARE(PopupPlacement::detectDockEdge(screen(frame, {0, 0, 1370, 875}), memory), DockEdge::Right);
    QCOMPARE(height.cached(), 0.0);

    // A bottom gap wins over a side one and is kept as the Dock's height.
    QCOMPARE(PopupPlacement::detectDockEdge(screen(frame, {70, 80, 1370, 795}), memory), DockEdge::Bottom);
    QCOMPARE(height.cached(), 80.0);
    QCOMPARE(memory.lastDockEdge, DockEdge::Bottom);

    // No gap anywhere (a hidden Dock): the bottom, and nothing learnt.
    memory.lastDockEdge = DockEdge::Right;
    QCOMPARE(PopupPlacement::detectDockEdge(screen(frame, {0.5, 0.5, 1439, 899}), memory), DockEdge::Bottom);
    QCOMPARE(memory.lastDockEdge, DockEdge::Right);
    QCOMPARE(height.cached(), 80.0);
}

void PopupGeometryTest::bottomDockPlacementClampsAndMeasuresTheArrow() {
    DockHeight height;
    PopupPlacement::Memory memory{height};
    const QList<ScreenFrames> screens{screen({0, 0, 1440, 900}, {0, 70, 1440, 805})};
    const PopupPlacement::DockSizes dock{48.0, std::nullopt, false};

    // Centred on the mouse, above the visible Dock: max(70+18+5−24, 70+1) + 20.
    auto placed = PopupPlacement::popupOriginAboveDock({300, 200}, {720, 30}, screens, std::nullopt, dock, memory);
    QCOMPARE(placed.origin, QPointF(570, 91));
    QCOMPARE(placed.arrowOffset, 0.0);
    QCOMPARE(height.cached(), 70.0);

    // Near the left edge: 8 points inside the visible frame, the arrow shifted by as much.
    placed = PopupPlacement::popupOriginAboveDock({300, 200}, {40, 30}, screens, std::nullopt, dock, memory);
    QCOMPARE(placed.origin.x(), 8.0);
    QCOMPARE(placed.arrowOffset, (40 - 150) - 8.0);
    placed = PopupPlacement::popupOriginAboveDock({300, 200}, {1430, 30}, screens, std::nullopt, dock, memory);
    QCOMPARE(placed.origin.x(), 1440 - 300 - 8.0);

    // Magnified tiles lift the panel by how much larger they grow.
    const PopupPlacement::DockSizes magnified{48.0, 128.0, true};
    placed = PopupPlacement::popupOriginAboveDock({300, 200}, {720, 30}, screens, std::nullopt, magnified, memory);
    QCOMPARE(placed.origin.y(), 70 + 18 + 80 + 5 - 24 + 20.0);

    // Without a tile size in the Dock's preferences its tiles are of the default size, 48, and
    // magnified ones still lift the panel.
    const PopupPlacement::DockSizes magnifiedDefault{std::nullopt, 128.0, true};
    placed =
        PopupPlacement::popupOriginAboveDock({300, 200}, {720, 30}, screens, std::nullopt, magnifiedDefault, memory);
    QCOMPARE(placed.origin.y(), 70 + 18 + 80 + 5 - 24 + 20.0);

    // The screen under the mouse is the one placed on, not the main one.
    const QList<ScreenFrames> two{screens.first(), screen({1440, 0, 1000, 800}, {1440, 50, 1000, 750})};
    placed = PopupPlacement::popupOriginAboveDock({300, 200}, {1900, 20}, two, two.first(), dock, memory);
    QCOMPARE(placed.origin, QPointF(1750, 71));
}

void PopupGeometryTest::sideDocksPlaceBesideAndClampVertically() {
    DockHeight height;
    PopupPlacement::Memory memory{height};
    const PopupPlacement::DockSizes dock{48.0, std::nullopt, false};

    // Left Dock: 11 points right of the visible frame, centred on the mouse.
    const QList<ScreenFrames> left{screen({0, 0, 1440, 900}, {70, 0, 1370, 875})};
    auto placed = PopupPlacement::popupOriginAboveDock({300, 200}, {30, 450}, left, std::nullopt, dock, memory);
    QCOMPARE(placed.origin, QPointF(81, 350));
    QCOMPARE(placed.arrowOffset, 0.0);
    placed = PopupPlacement::popupOriginAboveDock({300, 200}, {30, 20}, left, std::nullopt, dock, memory);
    QCOMPARE(placed.origin.y(), 8.0);
    // The mouse lies below the panel's middle: a positive offset in the view's downward y.
    QCOMPARE(placed.arrowOffset, 8.0 - (20 - 100));

    // Right Dock, a tile near the top: clamped 8 points below the visible frame's top, and
    // the tip still at the mouse's height.
    const QList<ScreenFrames> right{screen({0, 0, 1440, 900}, {0, 0, 1370, 875})};
    placed = PopupPlacement::popupOriginAboveDock({300, 200}, {1420, 860}, right, std::nullopt, dock, memory);
    QCOMPARE(placed.origin, QPointF(1370 - 300 - 11.0, 875 - 200 - 8.0));
    const double panelMiddle = placed.origin.y() + 100;
    QCOMPARE(panelMiddle - placed.arrowOffset, 860.0);
}

void PopupGeometryTest::hiddenDockFallsBackToTheTileSize() {
    DockHeight height;
    PopupPlacement::Memory memory{height};
    const QList<ScreenFrames> hidden{screen({0, 0, 1440, 900}, {0, 0, 1440, 875})};

    auto placed = PopupPlacement::popupOriginAboveDock({300, 200}, {720, 5}, hidden, std::nullopt,
                                                       {48.0, std::nullopt, false}, memory);
    // D = 48 + 18: max(66+18+5−24, 66+1) + 19.
    QCOMPARE(placed.origin.y(), 67 + 19.0);
    QCOMPARE(height.cached(), 66.0);

    placed = PopupPlacement::popupOriginAboveDock({300, 200}, {720, 5}, hidden, std::nullopt, {}, memory);
    QCOMPARE(height.cached(), 64.0);
    QCOMPARE(placed.origin.y(), 65 + 19.0);

    // No screen at all: a screen of no size, and still an answer.
    placed = PopupPlacement::popupOriginAboveDock({300, 200}, {0, 0}, {}, std::nullopt, {}, memory);
    QCOMPARE(placed.origin.y(), 65 + 19.0);
}

void PopupGeometryTest::hostDockStandsInForAnEdgeItDoesNotReserve() {
    DockHeight height;
    PopupPlacement::Memory memory{height};
    // A dock that reserves nothing: only a top bar is off the visible frame.
    const QList<ScreenFrames> open{screen({0, 0, 1440, 900}, {0, 0, 1440, 875})};
    const PopupPlacement::DockSizes none;
    using Host = PopupPlacement::HostGeometry;

    // Bottom: lifted by the host's icons as by the Linux Dock's tiles, D = 64 + 18.
    auto placed = PopupPlacement::popupOriginAboveDock({300, 200}, {720, 30}, open, std::nullopt, none, memory,
                                                       Host{DockEdge::Bottom, 64});
    QCOMPARE(placed.origin, QPointF(570, 83 + 19.0));
    QCOMPARE(placed.arrowOffset, 0.0);
    QCOMPARE(
        PopupPlacement::roomAboveDock({720, 30}, open, std::nullopt, none, memory, Host{DockEdge::Bottom, 64}).height(),
        875 - 8 - (83 + 19.0));

    // Sides: beside the dock's depth (icons + 18), the arrow at the tile's height.
    placed = PopupPlacement::popupOriginAboveDock({300, 200}, {20, 500}, open, std::nullopt, none, memory,
                                                  Host{DockEdge::Left, 48});
    QCOMPARE(PopupPlacement::dockEdge(open.first(), Host{DockEdge::Left, 48}, memory), DockEdge::Left);
    QCOMPARE(memory.lastDockEdge, DockEdge::Left);
    QCOMPARE(placed.origin, QPointF(66 + 11.0, 400));
    placed = PopupPlacement::popupOriginAboveDock({300, 200}, {1420, 860}, open, std::nullopt, none, memory,
                                                  Host{DockEdge::Right, 48});
    QCOMPARE(placed.origin.x(), 1440 - 66 - 300 - 11.0);
    QCOMPARE(placed.origin.y() + 100 - placed.arrowOffset, 860.0);
    QCOMPARE(
        PopupPlacement::roomAboveDock({1420, 860}, open, std::nullopt, none, memory, Host{DockEdge::Right, 48}).width(),
        1440 - 66 - 11 - 8.0);

    // A reserved edge says where the dock is, whatever the host's settings say, and how deep.
    const QList<ScreenFrames> leftGap{screen({0, 0, 1440, 900}, {70, 0, 1370, 875})};
    placed = PopupPlacement::popupOriginAboveDock({300, 200}, {30, 450}, leftGap, std::nullopt, none, memory,
                                                  Host{DockEdge::Bottom, 48});
    QCOMPARE(placed.origin, QPointF(81, 350));
    const QList<ScreenFrames> bottomGap{screen({0, 0, 1440, 900}, {0, 70, 1440, 805})};
    QCOMPARE(PopupPlacement::dockEdge(bottomGap.first(), Host{DockEdge::Right, 48}, memory), DockEdge::Bottom);
    placed = PopupPlacement::popupOriginAboveDock({300, 200}, {720, 30}, bottomGap, std::nullopt, none, memory,
                                                  Host{DockEdge::Right, 48});
    QCOMPARE(placed.origin.y(), 71 + 20.0);
    QCOMPARE(height.cached(), 70.0);
}

void PopupGeometryTest::roomStaysInsideTheVisibleFrame() {
    DockHeight height;
    PopupPlacement::Memory memory{height};
    const PopupPlacement::DockSizes dock{48.0, std::nullopt, false};
    const QRectF frame(0, 0, 1280, 800);

    // Above a bottom Dock: from 8 points above the lift to 8 points below the top.
    const QList<ScreenFrames> bottom{screen(frame, {0, 66, 1280, 734})};
    QCOMPARE(PopupPlacement::roomAboveDock({640, 30}, bottom, std::nullopt, dock, memory),
             QSizeF(1280 - 16, 800 - 8 - (66 + 1 + 20)));
    const auto placed = PopupPlacement::popupOriginAboveDock({300, 200}, {640, 30}, bottom, std::nullopt, dock, memory);
    QCOMPARE(placed.origin.y() + PopupPlacement::roomAboveDock({640, 30}, bottom, std::nullopt, dock, memory).height(),
             800 - 8.0);
    // Magnified tiles lift the panel, and leave less room.
    QCOMPARE(PopupPlacement::roomAboveDock({640, 30}, bottom, std::nullopt, {48.0, 128.0, true}, memory).height(),
             800 - 8 - (66 + 18 + 80 + 5 - 24 + 20.0));
    // Beside a side Dock: the gap on one side, the margin on the other, 8 points at either end.
    const QList<ScreenFrames> left{screen(frame, {66, 0, 1214, 800})};
    QCOMPARE(PopupPlacement::roomAboveDock({30, 400}, left, std::nullopt, dock, memory), QSizeF(1214 - 19, 784));
    const QList<ScreenFrames> right{screen(frame, {0, 0, 1214, 800})};
    QCOMPARE(PopupPlacement::roomAboveDock({1250, 400}, right, std::nullopt, dock, memory), QSizeF(1214 - 19, 784));
    // Centred: 8 points inside the visible frame all round; a screen of no size leaves none.
    QCOMPARE(PopupPlacement::roomCentred(bottom.first()), QSizeF(1264, 718));
    QCOMPARE(PopupPlacement::roomCentred(ScreenFrames{}), QSizeF(0, 0));
}

void PopupGeometryTest::pointerAwayFromTheDockTellsAnOpeningWithoutAClick() {
    const QRectF frame(0, 0, 1280, 800);
    const QList<ScreenFrames> bottom{screen(frame, {0, 66, 1280, 734})};
    QVERIFY(!PopupPlacement::pointerAwayFromDock({640, 30}, bottom));
    QVERIFY(PopupPlacement::pointerAwayFromDock({640, 400}, bottom));
    const QList<ScreenFrames> right{screen(frame, {0, 0, 1214, 800})};
    QVERIFY(!PopupPlacement::pointerAwayFromDock({1250, 700}, right));
    QVERIFY(PopupPlacement::pointerAwayFromDock({1200, 700}, right));
    // The Dock on a second screen: the pointer on the first is away from it.
    const QList<ScreenFrames> two{screen(frame, frame), screen({1280, 0, 1000, 800}, {1346, 0, 934, 800})};
    QVERIFY(!PopupPlacement::pointerAwayFromDock({1300, 400}, two));
    QVERIFY(PopupPlacement::pointerAwayFromDock({300, 400}, two));
    // No Dock keeps an edge anywhere: nothing can be told.
    QVERIFY(!PopupPlacement::pointerAwayFromDock({640, 400}, {screen(frame, frame)}));
}

QTEST_GUILESS_MAIN(PopupGeometryTest)
#include "PopupGeometryTest.moc"
