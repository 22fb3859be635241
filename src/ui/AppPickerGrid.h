#pragma once

#include "widgets/CellGrid.h"

#include <QList>

class AppPickerCell;
class QLabel;

// The picker's cells as a scrolling grid. Tab reaches it as one control; the arrow keys, Home and
// End move the keyboard ring from cell to cell and Space toggles the cell under it. Up on the first
// row goes back to the search field. Return and Escape are left to the dialog.
class AppPickerGrid final : public CellGrid {
    Q_OBJECT
public:
    static constexpr int spacing = 6;
    static constexpr int margin = 4;

    explicit AppPickerGrid(QWidget* parent = nullptr);

    // Replaces the cells (the old ones are deleted) and shows them all.
    void setCells(const QList<AppPickerCell*>& cells);
    // Shows only these of the cells, in this order; the ring goes back to the first.
    void showOnly(const QList<AppPickerCell*>& shown);
    QList<AppPickerCell*> cells() const { return m_cells; }
    QList<AppPickerCell*> shownCells() const { return m_shown; }
    QWidget* content() const { return widget(); }
    // The shown cell under the keyboard ring; null when none is shown.
    AppPickerCell* currentCell() const { return m_shown.value(currentIndex()); }
    void setCurrentIndex(int index) { moveCurrent(index); }
    // Said in the middle of the grid while no cell is shown; empty for nothing.
    void setEmptyText(const QString& text);
    QLabel* emptyLabel() const { return m_emptyLabel; }

protected:
    QList<QWidget*> placedCells() const override;
    void ringMoved(int previous) override;
    bool cellKeyPressed(QKeyEvent* event) override;
    bool leaveAtTop() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void refreshEmptyText();

    QList<AppPickerCell*> m_cells;
    QList<AppPickerCell*> m_shown;
    QLabel* m_emptyLabel;
};
