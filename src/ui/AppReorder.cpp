#include "AppReorder.h"

#include <algorithm>

#include <QtCore/qnamespace.h>

namespace AppReorder {

namespace {

qsizetype indexOf(const QList<AppItem>& apps, const QUuid& id) {
    for (qsizetype i = 0; i < apps.size(); ++i)
        if (apps[i].id == id)
            return i;
    return -1;
}

} // namespace

QList<AppItem> moved(const QList<AppItem>& apps, const QUuid& draggedID, const QUuid& targetID) {
    const qsizetype from = indexOf(apps, draggedID);
    const qsizetype to = indexOf(apps, targetID);
    if (from < 0 || to < 0 || from == to)
        return apps;
    // The dragged one ends at the target's index either way: moved forward it lands just after the
    // target, which shifted down into the place it left.
    QList<AppItem> result = apps;
    result.move(from, to);
    return result;
}

QList<AppItem> movedTo(const QList<AppItem>& apps, const QUuid& id, qsizetype index) {
    const qsizetype from = indexOf(apps, id);
    if (from < 0)
        return apps;
    QList<AppItem> result = apps;
    result.move(from, std::clamp<qsizetype>(index, 0, apps.size() - 1));
    return result;
}

std::optional<qsizetype> keyboardTarget(int key, qsizetype index, qsizetype count, int columns) {
    if (index < 0 || index >= count)
        return std::nullopt;
    const qsizetype step = std::max(1, columns);
    qsizetype target = index;
    switch (key) {
    case Qt::Key_Left:
        target = index - 1;
        break;
    case Qt::Key_Right:
        target = index + 1;
        break;
    case Qt::Key_Up:
        target = index - step;
        break;
    case Qt::Key_Down:
        target = index + step;
        // Below is the shorter last row, with nothing right under this tile: the end of the list.
        if (target >= count && index / step < (count - 1) / step)
            target = count - 1;
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = count - 1;
        break;
    default:
        return std::nullopt;
    }
    if (target < 0 || target >= count || target == index)
        return std::nullopt;
    return target;
}

} // namespace AppReorder
