#pragma once

#include "widgets/CellGrid.h"

#include <QAbstractButton>
#include <QList>
#include <QString>

class IconGridCell;

// The folder glyphs as a scrolling grid of 33 × 33 point cells, the selected one outlined. A click
// on a cell or Space (Return too, on a cell other than the selected one) chooses it; the arrow keys
// move the keyboard ring from cell to cell. Tab reaches the grid as one control.
class IconGrid final : public CellGrid {
    Q_OBJECT
public:
    static constexpr int cellSide = 33;
    static constexpr int spacing = 6;
    static constexpr double symbolPointSize = 15;

    explicit IconGrid(const QString& selectedIcon, QWidget* parent = nullptr);

    QString selectedIcon() const { return m_selected; }
    // Outlines `icon` (nothing when the list lacks it) and scrolls it into view.
    void setSelectedIcon(const QString& icon);
    // The icon under the keyboard ring.
    QString currentIcon() const;
    QList<IconGridCell*> cells() const { return m_cells; }

Q_SIGNALS:
    void iconClicked(const QString& icon);

protected:
    QList<QWidget*> placedCells() const override;
    void ringMoved(int previous) override;
    bool cellKeyPressed(QKeyEvent* event) override;

private:
    friend class IconGridCell;
    void choose(int index);
    int indexOf(const QString& icon) const;

    QString m_selected;
    QList<IconGridCell*> m_cells;
};

// One glyph of the grid: a button for screen readers, named after its symbol.
class IconGridCell final : public QAbstractButton {
    Q_OBJECT
public:
    IconGridCell(IconGrid* grid, QString icon, QWidget* parent);
    const QString& icon() const { return m_icon; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    IconGrid* m_grid;
    QString m_icon;
    bool m_hovered = false;
};
