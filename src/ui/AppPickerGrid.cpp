#include "AppPickerGrid.h"

#include "AppPickerCell.h"
#include "widgets/CellGridLayout.h"
#include "widgets/TextLabel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>

AppPickerGrid::AppPickerGrid(QWidget* parent)
    : QScrollArea(parent)
    , m_emptyLabel(new TextLabel({.points = 13,
                                  .weight = QFont::Medium,
                                  .role = QPalette::PlaceholderText,
                                  .alignment = Qt::AlignCenter,
                                  .wraps = true},
                                 viewport())) {
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
    m_current = 0;
    for (AppPickerCell* cell : std::as_const(m_cells))
        cell->setVisible(m_shown.contains(cell));
    layOutCells();
    showRing();
    verticalScrollBar()->setValue(0);
    refreshEmptyText();
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
    const QList<QWidget*> shown(m_shown.cbegin(), m_shown.cend());
    m_columns = CellGridLayout::place(shown, QSize(AppPickerCell::cellWidth, AppPickerCell::cellHeight), spacing,
                                      margin, viewport()->width(), *widget());
}

void AppPickerGrid::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    layOutCells();
    m_emptyLabel->setGeometry(viewport()->rect());
}

void AppPickerGrid::keyPressEvent(QKeyEvent* event) {
    const int count = int(m_shown.size());
    if (const std::optional<int> next = CellGridLayout::moved(event->key(), m_current, count, m_columns)) {
        // The first row leads back up to the search field.
        if (event->key() == Qt::Key_Up && *next == m_current)
            focusPreviousChild();
        else
            setCurrentIndex(*next);
        return;
    }
    if (event->key() == Qt::Key_Space && count > 0) {
        m_shown[m_current]->click();
        return;
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
