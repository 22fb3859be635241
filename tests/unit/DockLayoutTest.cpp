// Where the Dock stands and what it reserves: the popup placement measures the reserved gap, and
// Tiles() reports these rectangles to scripts.
#include "dock/DockLayout.h"

#include <QtTest>

namespace {

const QRect kScreen(0, 0, 1280, 800);

DockLayout layoutOf(DockOrientation orientation, int pinned, int running, std::optional<int> pointer = {},
                    bool magnification = false) {
    return DockLayout::compute({.orientation = orientation,
                                .tileSize = 48,
                                .largeSize = 96,
                                .magnification = magnification,
                                .screen = kScreen,
                                .pinnedCount = pinned,
                                .runningCount = running,
                                .pointer = pointer});
}

QRect global(const DockLayout& layout, int index) {
    return layout.tiles.at(index).translated(layout.window.topLeft());
}

} // namespace

class DockLayoutTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void standsOnItsEdgeAndReservesTileSizePlus18_data() {
        QTest::addColumn<int>("orientation");
        QTest::newRow("bottom") << int(DockOrientation::Bottom);
        QTest::newRow("left") << int(DockOrientation::Left);
        QTest::newRow("right") << int(DockOrientation::Right);
    }
    void standsOnItsEdgeAndReservesTileSizePlus18() {
        QFETCH(int, orientation);
        const auto edge = DockOrientation(orientation);
        const DockLayout layout = layoutOf(edge, 2, 1);
        QCOMPARE(layout.reservedThickness, 66);
        QCOMPARE(layout.tiles.size(), 3);
        QVERIFY(kScreen.contains(layout.window));
        const QRect bar = layout.bar.translated(layout.window.topLeft());
        for (int i = 0; i < 3; ++i) {
            const QRect tile = global(layout, i);
            QCOMPARE(tile.size(), QSize(48, 48));
            QVERIFY(bar.contains(tile));
            // The tiles stand within the reserved strip, on the margin of the indicators.
            switch (edge) {
            case DockOrientation::Bottom:
                QCOMPARE(tile.bottom(), kScreen.bottom() - DockLayout::edgeMargin);
                break;
            case DockOrientation::Left:
                QCOMPARE(tile.left(), DockLayout::edgeMargin);
                break;
            case DockOrientation::Right:
                QCOMPARE(tile.right(), kScreen.right() - DockLayout::edgeMargin);
                break;
            }
        }
        // Centred along the edge.
        const QPoint centre = bar.center();
        if (edge == DockOrientation::Bottom)
            QVERIFY(std::abs(centre.x() - kScreen.center().x()) <= 1);
        else
            QVERIFY(std::abs(centre.y() - kScreen.center().y()) <= 1);
    }

    void aDividerOnlyBetweenKeptAndRunning() {
        QVERIFY(!layoutOf(DockOrientation::Bottom, 2, 0).divider);
        QVERIFY(!layoutOf(DockOrientation::Bottom, 0, 2).divider);
        const DockLayout both = layoutOf(DockOrientation::Bottom, 1, 1);
        QVERIFY(both.divider);
        QVERIFY(both.divider->left() > both.tiles.at(0).right());
        QVERIFY(both.divider->right() < both.tiles.at(1).left());
    }

    void magnificationGrowsTheTileUnderThePointerAwayFromTheEdge() {
        const DockLayout plain = layoutOf(DockOrientation::Bottom, 7, 0, {}, true);
        const int middle = global(plain, 3).center().x();
        const DockLayout magnified = layoutOf(DockOrientation::Bottom, 7, 0, middle, true);
        QCOMPARE(global(magnified, 3).size(), QSize(96, 96));
        QCOMPARE(global(magnified, 3).bottom(), global(plain, 3).bottom());
        QVERIFY(global(magnified, 2).width() > 48 && global(magnified, 2).width() < 96);
        QCOMPARE(global(magnified, 0).width(), 48);
        QVERIFY(magnified.window.contains(global(magnified, 3)));
        // The bar and the reserved strip keep their thickness.
        QCOMPARE(magnified.bar.height(), plain.bar.height());
        QCOMPARE(magnified.reservedThickness, 66);
        // Without magnification the pointer changes nothing.
        QCOMPARE(layoutOf(DockOrientation::Bottom, 7, 0, middle).tiles, layoutOf(DockOrientation::Bottom, 7, 0).tiles);
    }

    // Eleven tiles of 124 points are longer than the screen: they shrink until the whole bar is on
    // it, and the Dock keeps a thinner strip. Magnified, they grow only into the room left.
    void aFullDockShrinksItsTilesToTheScreen_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("pinned");
        QTest::addColumn<int>("running");
        QTest::addColumn<bool>("magnification");
        QTest::newRow("bottom, eleven kept") << int(DockOrientation::Bottom) << 11 << 0 << false;
        QTest::newRow("bottom, kept and running, magnified") << int(DockOrientation::Bottom) << 8 << 5 << true;
        QTest::newRow("left, eleven kept") << int(DockOrientation::Left) << 11 << 0 << false;
        QTest::newRow("right, sixty, magnified") << int(DockOrientation::Right) << 40 << 20 << true;
    }
    void aFullDockShrinksItsTilesToTheScreen() {
        QFETCH(int, orientation);
        QFETCH(int, pinned);
        QFETCH(int, running);
        QFETCH(bool, magnification);
        const auto edge = DockOrientation(orientation);
        DockLayout::Input input{.orientation = edge,
                                .tileSize = 124,
                                .largeSize = 200,
                                .magnification = magnification,
                                .screen = kScreen.translated(1280, 0), // a second screen
                                .pinnedCount = pinned,
                                .runningCount = running,
                                .pointer = {}};
        const DockLayout plain = DockLayout::compute(input);
        QVERIFY(plain.tileSize < 124);
        QCOMPARE(plain.reservedThickness, plain.tileSize + 18);
        const auto allOnScreen = [&](const DockLayout& layout) {
            QVERIFY(input.screen.contains(layout.bar.translated(layout.window.topLeft())));
            for (int i = 0; i < layout.tiles.size(); ++i) {
                QVERIFY2(input.screen.contains(global(layout, i)), qPrintable(QString::number(i)));
                if (i > 0) // in order, none overlapping the one before
                    QVERIFY(!global(layout, i).intersects(global(layout, i - 1)));
            }
        };
        allOnScreen(plain);
        QCOMPARE(plain.tiles.size(), pinned + running);
        // As large as fits: one point more would not.
        input.tileSize = plain.tileSize + 1;
        QCOMPARE(DockLayout::compute(input).tileSize, plain.tileSize);

        const QRect first = global(plain, 0);
        input.pointer = edge == DockOrientation::Bottom ? first.center().x() : first.center().y();
        const DockLayout magnified = DockLayout::compute(input);
        allOnScreen(magnified);
        QVERIFY(global(magnified, 0).width() >= plain.tileSize);
    }

    void aDockThatFitsKeepsItsTileSize() {
        const DockLayout layout = DockLayout::compute(
            {.tileSize = 124, .screen = kScreen, .pinnedCount = 8, .runningCount = 1, .pointer = {}});
        QCOMPARE(layout.tileSize, 124);
        QCOMPARE(global(layout, 0).size(), QSize(124, 124));
    }

    // The name stands beside the tile away from the edge, and stays on the screen at its ends.
    void theLabelStandsBesideItsTile() {
        const QSize size(90, 24);
        const DockLayout bottom = layoutOf(DockOrientation::Bottom, 3, 0);
        const QRect tile = global(bottom, 1);
        const QRect label = bottom.labelFor(1, size, DockOrientation::Bottom);
        QCOMPARE(label.size(), size);
        QCOMPARE(label.bottom(), tile.top() - DockLayout::labelGap);
        QVERIFY(std::abs(label.center().x() - tile.center().x()) <= 1);

        const DockLayout left = layoutOf(DockOrientation::Left, 3, 0);
        const QRect beside = left.labelFor(0, size, DockOrientation::Left);
        QCOMPARE(beside.left(), global(left, 0).right() + 1 + DockLayout::labelGap);
        QVERIFY(std::abs(beside.center().y() - global(left, 0).center().y()) <= 1);
        const DockLayout right = layoutOf(DockOrientation::Right, 3, 0);
        QCOMPARE(right.labelFor(2, size, DockOrientation::Right).right(),
                 global(right, 2).left() - 1 - DockLayout::labelGap);

        // A long name over the first tile of a full Dock begins at the screen's edge.
        const DockLayout full =
            DockLayout::compute({.tileSize = 124, .screen = kScreen, .pinnedCount = 11, .pointer = {}});
        const QRect wide = full.labelFor(0, QSize(400, 24), DockOrientation::Bottom);
        QCOMPARE(wide.left(), kScreen.left());
        QCOMPARE(full.labelFor(10, QSize(400, 24), DockOrientation::Bottom).right(), kScreen.right());
    }

    void tileAtFindsTheTile() {
        const DockLayout layout = layoutOf(DockOrientation::Left, 2, 0);
        QCOMPARE(layout.tileAt(layout.tiles.at(1).center()), 1);
        QCOMPARE(layout.tileAt(QPoint(layout.window.width() - 1, 0)), -1);
    }
};

QTEST_APPLESS_MAIN(DockLayoutTest)
#include "DockLayoutTest.moc"
