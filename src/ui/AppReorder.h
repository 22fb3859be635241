#pragma once

#include "model/AppItem.h"

#include <QList>
#include <QUuid>

#include <optional>

// Reordering a folder's applications by dragging one tile over another.
namespace AppReorder {

// The dragged application takes the target's place and those between shift by one. Unchanged when
// either id is missing from `apps` or both are the same.
QList<AppItem> moved(const QList<AppItem>& apps, const QUuid& draggedID, const QUuid& targetID);
// The application moved to `index` (clamped to the list), the others keeping their order: the
// keyboard's way to reorder. Unchanged when the id is missing.
QList<AppItem> movedTo(const QList<AppItem>& apps, const QUuid& id, qsizetype index);
// Where a keyboard move (Ctrl with an arrow, Home or End) takes the tile at `index` of `count`
// laid out `columns` to a row; none when the key does not move it. Up and Down go by a whole row;
// Down from a row above a shorter last row ends at the very last place.
std::optional<qsizetype> keyboardTarget(int key, qsizetype index, qsizetype count, int columns);

} // namespace AppReorder
