#pragma once

#include <QList>
#include <QSize>

#include <optional>

class QWidget;

// Same-sized cells in rows of as many centred columns as the width holds: the layout and the
// keyboard moves that the grids of cells share.
namespace CellGridLayout {

// Places `cells` in `content`, which it makes `width` wide and tall enough for them all; gives
// the number of columns.
int place(const QList<QWidget*>& cells, QSize cell, int spacing, int margin, int width, QWidget& content);

// Where an arrow key, Home or End takes the ring from `current` among `count` cells; `current`
// itself at an edge (Up on the first row, Down on the last), none for any other key.
std::optional<int> moved(int key, int current, int count, int columns);

} // namespace CellGridLayout
