#include "CellGrid.h"

#include "CellGridLayout.h"

#include <QKeyEvent>

CellGrid::CellGrid(QSize cellSize, int spacing, int margin, QWidget* parent)
    : QScrollArea(parent)
    , m_cellSize(cellSize)
    , m_spacing(spacing)
    , m_margin(margin) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    auto* content = new QWidget;
    content->setFocusPolicy(Qt::NoFocus);
    setWidget(content);
}

bool CellGrid::cellKeyPressed(QKeyEvent*) {
    return false;
}

bool CellGrid::leaveAtTop() {
    return false;
}

void CellGrid::layOutCells() {
    m_columns = CellGridLayout::place(placedCells(), m_cellSize, m_spacing, m_margin, viewport()->width(), *widget());
}

void CellGrid::moveCurrent(int index) {
    const QList<QWidget*> cells = placedCells();
    if (index < 0 || index >= cells.size())
        return;
    const int previous = m_current;
    m_current = index;
    ringMoved(previous);
    ensureWidgetVisible(cells[index], m_margin, m_margin);
}

void CellGrid::keyPressEvent(QKeyEvent* event) {
    const int count = int(placedCells().size());
    if (const std::optional<int> next = CellGridLayout::moved(event->key(), m_current, count, m_columns)) {
        if (!(event->key() == Qt::Key_Up && *next == m_current && leaveAtTop()))
            moveCurrent(*next);
        return;
    }
    if (!cellKeyPressed(event))
        QScrollArea::keyPressEvent(event);
}

void CellGrid::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    layOutCells();
}

void CellGrid::focusInEvent(QFocusEvent* event) {
    QScrollArea::focusInEvent(event);
    ringMoved(m_current);
}

void CellGrid::focusOutEvent(QFocusEvent* event) {
    QScrollArea::focusOutEvent(event);
    ringMoved(m_current);
}
