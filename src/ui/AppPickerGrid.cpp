#include "AppPickerGrid.h"

#include "AppPickerCell.h"

#include <QKeyEvent>
#include <QScrollBar>

AppPickerGrid::AppPickerGrid(QWidget* parent)
    : QScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    auto* content = new QWidget;
    content->setFocusPolicy(Qt::NoFocus);
    setWidget(content);
    // The cells lie straight on the panel (the scroll area would fill behind them).
    content->setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
}

void AppPickerGrid::setCells(const QList<AppPickerCell*>& cells) {
    qDeleteAll(m_cells);
    m_cells = cells;
    for (AppPickerCell* cell : std::as_const(m_cells))
        cell->setParent(widget());
    showOnly(m_cells);
}

void AppPickerGrid::showOnly(const QList<AppPickerCell*>& shown) {
    m_shown = shown;
    m_current = 0;
    for (AppPickerCell* cell : std::as_const(m_cells))
        cell->setVisible(m_shown.contains(cell));
    layOutCells();
    showRing();
    verticalScrollBar()->setValue(0);
}

void AppPickerGrid::setCurrentIndex(int index) {
    if (index < 0 || index >= m_shown.size())
        return;
    m_current = index;
    showRing();
    ensureWidgetVisible(m_shown[m_current], margin, margin);
}

void AppPickerGrid::showRing() {
    for (AppPickerCell* cell : std::as_const(m_cells))
        cell->setCurrent(hasFocus() && cell == currentCell());
}

void AppPickerGrid::layOutCells() {
    const int cellWidth = AppPickerCell::cellWidth;
    const int cellHeight = AppPickerCell::cellHeight;
    const int available = std::max(cellWidth, viewport()->width() - 2 * margin);
    m_columns = std::max(1, (available + spacing) / (cellWidth + spacing));
    const int rows = (int(m_shown.size()) + m_columns - 1) / m_columns;
    const int used = m_columns * cellWidth + (m_columns - 1) * spacing;
    const int left = std::max(margin, (viewport()->width() - used) / 2);
    for (int i = 0; i < m_shown.size(); ++i)
        m_shown[i]->move(left + (i % m_columns) * (cellWidth + spacing),
                         margin + (i / m_columns) * (cellHeight + spacing));
    widget()->resize(viewport()->width(), 2 * margin + rows * cellHeight + std::max(0, rows - 1) * spacing);
}

void AppPickerGrid::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    layOutCells();
}

void AppPickerGrid::keyPressEvent(QKeyEvent* event) {
    const int count = int(m_shown.size());
    if (count > 0) {
        switch (event->key()) {
        case Qt::Key_Left:
            setCurrentIndex(std::max(0, m_current - 1));
            return;
        case Qt::Key_Right:
            setCurrentIndex(std::min(count - 1, m_current + 1));
            return;
        case Qt::Key_Up:
            if (m_current - m_columns >= 0)
                setCurrentIndex(m_current - m_columns);
            else
                // The first row leads back up to the search field.
                focusPreviousChild();
            return;
        case Qt::Key_Down:
            if (m_current + m_columns < count)
                setCurrentIndex(m_current + m_columns);
            return;
        case Qt::Key_Home:
            setCurrentIndex(0);
            return;
        case Qt::Key_End:
            setCurrentIndex(count - 1);
            return;
        case Qt::Key_Space:
            m_shown[m_current]->click();
            return;
        default:
            break;
        }
    }
    // Return and Escape go on to the dialog's default and cancel buttons.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QScrollArea::keyPressEvent(event);
}

void AppPickerGrid::focusInEvent(QFocusEvent* event) {
    QScrollArea::focusInEvent(event);
    showRing();
}

void AppPickerGrid::focusOutEvent(QFocusEvent* event) {
    QScrollArea::focusOutEvent(event);
    showRing();
}
