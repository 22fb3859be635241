#include "AppPickerGrid.h"

#include "AppPickerCell.h"
#include "widgets/TextLabel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>

AppPickerGrid::AppPickerGrid(QWidget* parent)
    : CellGrid(QSize(AppPickerCell::cellWidth, AppPickerCell::cellHeight), spacing, margin, parent)
    , m_emptyLabel(new TextLabel({.points = 13,
                                  .weight = QFont::Medium,
                                  .role = QPalette::PlaceholderText,
                                  .alignment = Qt::AlignCenter,
                                  .wraps = true},
                                 viewport())) {
    // The cells lie straight on the panel (the scroll area would fill behind them).
    widget()->setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    m_emptyLabel->setContentsMargins(24, 0, 24, 0);
    m_emptyLabel->hide();
}

void AppPickerGrid::setEmptyText(const QString& text) {
    m_emptyLabel->setText(text);
    refreshEmptyText();
}

void AppPickerGrid::refreshEmptyText() {
    const bool show = m_shown.isEmpty() && !m_emptyLabel->text().isEmpty();
    m_emptyLabel->setGeometry(viewport()->rect());
    m_emptyLabel->setVisible(show);
    if (show)
        m_emptyLabel->raise();
    // Tab lands on the grid even when it is empty; screen readers then hear why.
    setAccessibleDescription(show ? m_emptyLabel->text() : QString());
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
    resetCurrent();
    for (AppPickerCell* cell : std::as_const(m_cells))
        cell->setVisible(m_shown.contains(cell));
    layOutCells();
    ringMoved(currentIndex());
    verticalScrollBar()->setValue(0);
    refreshEmptyText();
}

QList<QWidget*> AppPickerGrid::placedCells() const {
    return {m_shown.cbegin(), m_shown.cend()};
}

void AppPickerGrid::ringMoved(int) {
    for (AppPickerCell* cell : std::as_const(m_cells))
        cell->setCurrent(hasFocus() && cell == currentCell());
}

void AppPickerGrid::resizeEvent(QResizeEvent* event) {
    CellGrid::resizeEvent(event);
    m_emptyLabel->setGeometry(viewport()->rect());
}

bool AppPickerGrid::leaveAtTop() {
    focusPreviousChild();
    return true;
}

bool AppPickerGrid::cellKeyPressed(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !m_shown.isEmpty()) {
        m_shown[currentIndex()]->click();
        return true;
    }
    // Return and Escape go on to the dialog's default and cancel buttons.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        event->ignore();
        return true;
    }
    return false;
}
