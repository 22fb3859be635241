#include "DockLayout.h"

#include "platform/DockMetrics.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

int gapFor(int tileSize) {
    return std::max(2, tileSize / 12);
}

int dividerSlotFor(int tileSize) {
    return std::max(9, tileSize / 4);
}

// How far a tile is magnified, from 1 under the pointer to 0 at `reach` and beyond.
double bell(double distance, double reach) {
    if (distance >= reach)
        return 0;
    return (1 + std::cos(M_PI * distance / reach)) / 2;
}

// A rectangle given as a span along the edge and one across it (measured from the edge), put
// into the window's coordinates.
QRect place(DockOrientation orientation, const QRect& window, int along, int length, int across, int depth) {
    switch (orientation) {
    case DockOrientation::Bottom:
        return {along - window.x(), window.height() - across - depth, length, depth};
    case DockOrientation::Left:
        return {across, along - window.y(), depth, length};
    case DockOrientation::Right:
        return {window.width() - across - depth, along - window.y(), depth, length};
    }
    return {};
}

} // namespace

DockLayout DockLayout::compute(const Input& input) {
    DockLayout layout;
    layout.screen = input.screen;
    const int count = input.pinnedCount + input.runningCount;
    const bool hasDivider = input.pinnedCount > 0 && input.runningCount > 0;
    const bool horizontal = input.orientation == DockOrientation::Bottom;
    const int edgeStart = horizontal ? input.screen.left() : input.screen.top();
    const int edgeLength = horizontal ? input.screen.width() : input.screen.height();

    const auto plainLength = [&](int tile) {
        return 2 * barPadding + (hasDivider ? dividerSlotFor(tile) : 0) + std::max(0, count - 1) * gapFor(tile) +
               count * tile;
    };
    int t = std::max(1, input.tileSize);
    while (t > 1 && plainLength(t) > edgeLength)
        --t;
    layout.tileSize = t;

    const int large = input.magnification ? std::max(input.largeSize, t) : t;
    const int gap = gapFor(t);
    const int dividerSlot = hasDivider ? dividerSlotFor(t) : 0;
    layout.reservedThickness = t + DockMetrics::thicknessAboveTiles;
    const int thickness = std::max(layout.reservedThickness, edgeMargin + large + 6);

    switch (input.orientation) {
    case DockOrientation::Bottom:
        layout.window = {input.screen.left(), input.screen.bottom() - thickness + 1, input.screen.width(), thickness};
        break;
    case DockOrientation::Left:
        layout.window = {input.screen.left(), input.screen.top(), thickness, input.screen.height()};
        break;
    case DockOrientation::Right:
        layout.window = {input.screen.right() - thickness + 1, input.screen.top(), thickness, input.screen.height()};
        break;
    }

    // The plain layout first: the pointer's distance to each plain tile decides its size.
    const auto lengthOf = [&](const QList<int>& sizes) {
        int total = 2 * barPadding + dividerSlot + std::max(0, count - 1) * gap;
        for (int size : sizes)
            total += size;
        return total;
    };
    const auto startsOf = [&](const QList<int>& sizes) {
        QList<int> starts;
        int along = edgeStart + (edgeLength - lengthOf(sizes)) / 2 + barPadding;
        for (int i = 0; i < count; ++i) {
            if (hasDivider && i == input.pinnedCount)
                along += dividerSlot;
            starts.append(along);
            along += sizes.at(i) + gap;
        }
        return starts;
    };

    QList<int> sizes(count, t);
    if (input.pointer && large > t) {
        const QList<int> plain = startsOf(sizes);
        const double reach = 2.5 * (t + gap);
        QList<double> growth(count);
        double total = 0;
        for (int i = 0; i < count; ++i) {
            const double centre = plain.at(i) + t / 2.0;
            growth[i] = (large - t) * bell(std::abs(*input.pointer - centre), reach);
            total += growth.at(i);
        }
        // A full Dock grows only as far as the screen's length allows, so no tile leaves it (a
        // pixel a tile kept back for rounding).
        const double room = edgeLength - lengthOf(sizes) - count;
        const bool scaled = total > room;
        const double scale = scaled ? std::max(0.0, room) / total : 1.0;
        for (int i = 0; i < count; ++i)
            sizes[i] = t + int(scaled ? std::floor(growth.at(i) * scale) : std::lround(growth.at(i)));
    }
    const QList<int> starts = startsOf(sizes);
    const int barLength = lengthOf(sizes);
    const int barStart = edgeStart + (edgeLength - barLength) / 2;

    layout.bar = place(input.orientation, layout.window, barStart, barLength, 0, layout.reservedThickness);
    for (int i = 0; i < count; ++i)
        layout.tiles.append(
            place(input.orientation, layout.window, starts.at(i), sizes.at(i), edgeMargin, sizes.at(i)));
    if (hasDivider) {
        const int along = starts.at(input.pinnedCount) - gap / 2 - dividerSlot / 2;
        layout.divider =
            place(input.orientation, layout.window, along, 1, edgeMargin / 2, layout.reservedThickness - edgeMargin);
    }
    return layout;
}

int DockLayout::tileAt(QPoint point) const {
    for (int i = 0; i < tiles.size(); ++i) {
        if (tiles.at(i).contains(point))
            return i;
    }
    return -1;
}

QPoint DockLayout::indicatorCentre(int index, DockOrientation orientation) const {
    const QRect tile = tiles.value(index);
    const int fromEdge = edgeMargin / 2;
    switch (orientation) {
    case DockOrientation::Bottom:
        return {tile.center().x(), window.height() - fromEdge};
    case DockOrientation::Left:
        return {fromEdge, tile.center().y()};
    case DockOrientation::Right:
        return {window.width() - fromEdge, tile.center().y()};
    }
    return {};
}

QRect DockLayout::labelFor(int index, QSize size, DockOrientation orientation) const {
    const QRect tile = tiles.value(index).translated(window.topLeft());
    QRect label(QPoint(), size);
    switch (orientation) {
    case DockOrientation::Bottom:
        label.moveCenter(tile.center());
        label.moveBottom(tile.top() - labelGap);
        label.moveLeft(
            std::clamp(label.left(), screen.left(), std::max(screen.left(), screen.right() - size.width() + 1)));
        break;
    case DockOrientation::Left:
    case DockOrientation::Right:
        label.moveCenter(tile.center());
        if (orientation == DockOrientation::Left)
            label.moveLeft(tile.right() + 1 + labelGap);
        else
            label.moveRight(tile.left() - 1 - labelGap);
        label.moveTop(
            std::clamp(label.top(), screen.top(), std::max(screen.top(), screen.bottom() - size.height() + 1)));
        break;
    }
    return label;
}
