#pragma once

#include <QList>
#include <QScrollArea>
#include <QSize>

// A scrolling grid of same-sized cells that Tab reaches as one control: the arrow keys, Home and
// End move a keyboard ring from cell to cell (CellGridLayout), and the ring shows while the grid
// has the focus. A grid says which cells it lays out, how its ring shows and what its other keys do.
class CellGrid : public QScrollArea {
    Q_OBJECT
public:
    int columnCount() const { return m_columns; }
    // The ring's place among the laid-out cells.
    int currentIndex() const { return m_current; }

protected:
    CellGrid(QSize cellSize, int spacing, int margin, QWidget* parent);

    // The cells laid out, in order: the ring moves among them.
    virtual QList<QWidget*> placedCells() const = 0;
    // The ring moved from `previous`, or the grid took or lost the focus (then `previous` is
    // where the ring is).
    virtual void ringMoved(int previous) = 0;
    // A key other than the ring's moves; false leaves it to the scroll area.
    virtual bool cellKeyPressed(QKeyEvent* event);
    // Up on the first row; true when the grid handed the focus on.
    virtual bool leaveAtTop();

    void layOutCells();
    // Moves the ring to `index` and scrolls its cell into view; nothing for a place with no cell.
    void moveCurrent(int index);
    // Back to the first cell without scrolling, for a new set of cells.
    void resetCurrent() { m_current = 0; }

    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QSize m_cellSize;
    int m_spacing;
    int m_margin;
    int m_current = 0;
    int m_columns = 1;
};
