#include "CellGridLayout.h"

#include <QWidget>

#include <algorithm>

int CellGridLayout::place(const QList<QWidget*>& cells, QSize cell, int spacing, int margin, int width,
                          QWidget& content) {
    const int available = std::max(cell.width(), width - 2 * margin);
    const int columns = std::max(1, (available + spacing) / (cell.width() + spacing));
    const int rows = (int(cells.size()) + columns - 1) / columns;
    const int used = columns * cell.width() + (columns - 1) * spacing;
    const int left = std::max(margin, (width - used) / 2);
    for (int i = 0; i < cells.size(); ++i)
        cells[i]->move(left + (i % columns) * (cell.width() + spacing),
                       margin + (i / columns) * (cell.height() + spacing));
    content.resize(width, 2 * margin + rows * cell.height() + std::max(0, rows - 1) * spacing);
    return columns;
}

std::optional<int> CellGridLayout::moved(int key, int current, int count, int columns) {
    if (count <= 0)
        return std::nullopt;
    switch (key) {
    case Qt::Key_Left:
        return std::max(0, current - 1);
    case Qt::Key_Right:
        return std::min(count - 1, current + 1);
    case Qt::Key_Up:
        return current - columns >= 0 ? current - columns : current;
    case Qt::Key_Down:
        return current + columns < count ? current + columns : current;
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return count - 1;
    default:
        return std::nullopt;
    }
}
