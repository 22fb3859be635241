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

    void tileAtFindsTheTile() {
        const DockLayout layout = layoutOf(DockOrientation::Left, 2, 0);
        QCOMPARE(layout.tileAt(layout.tiles.at(1).center()), 1);
        QCOMPARE(layout.tileAt(QPoint(layout.window.width() - 1, 0)), -1);
    }
};

QTEST_APPLESS_MAIN(DockLayoutTest)
#include "DockLayoutTest.moc"
