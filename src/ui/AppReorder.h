#pragma once

#include "model/AppItem.h"

#include <QList>
#include <QUuid>

// Reordering a folder's applications by dragging one tile over another.
namespace AppReorder {

// The dragged application takes the target's place and those between shift by one. Unchanged when
// either id is missing from `apps` or both are the same.
QList<AppItem> moved(const QList<AppItem>& apps, const QUuid& draggedID, const QUuid& targetID);

} // namespace AppReorder
