#pragma once

#include <QList>
#include <QScrollArea>

class AppPickerCell;
class QLabel;

// The picker's cells as a scrolling grid. Tab reaches it as one control; the arrow keys, Home and
// End move the keyboard ring from cell to cell and Space toggles the cell under it. Return and
// Escape are left to the dialog.
class AppPickerGrid final : public QScrollArea {
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
    int columnCount() const { return m_columns; }
    // The shown cell under the keyboard ring; null when none is shown.
    AppPickerCell* currentCell() const { return m_shown.value(m_current); }
    void setCurrentIndex(int index);
    int currentIndex() const { return m_current; }
    // Said in the middle of the grid while no cell is shown; empty for nothing.
    void setEmptyText(const QString& text);
    QLabel* emptyLabel() const { return m_emptyLabel; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void layOutCells();
    void showRing();
    void refreshEmptyText();

    QList<AppPickerCell*> m_cells;
    QList<AppPickerCell*> m_shown;
    int m_current = 0;
    int m_columns = 1;
    QLabel* m_emptyLabel;
};
