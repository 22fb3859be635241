#include "AppReorder.h"

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

} // namespace AppReorder
