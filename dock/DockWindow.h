#pragma once

#include "DockConfiguration.h"
#include "DockLayout.h"
#include "DockService.h"

#include <QWidget>

#include <optional>

class DockLabel;
class DockTiles;
class FileIconCache;
class QLabel;
struct DockItem;

// The Dock on its screen edge: the bar, the tiles with their running indicators, magnification
// under the pointer, a click to open, a menu to keep, remove or quit, and a kept tile dragged off
// the bar to remove it. The tile under the pointer shows its name beside it.
class DockWindow : public QWidget {
    Q_OBJECT
public:
    DockWindow(DockTiles& tiles, FileIconCache& icons, bool translucent);

    void setConfiguration(const DockConfiguration& configuration);
    const DockConfiguration& configuration() const { return m_configuration; }

    // The tiles as they are shown now, in global pixels.
    QList<DockTileRecord> tileRecords() const;
    int tilePixels() const;

Q_SIGNALS:
    void tileClicked(const QString& path);
    void keepRequested(const QString& path);
    void removeRequested(const QString& path);
    void quitRequested(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void relayout();
    // Shows the label of the tile at `index` beside it, or none for -1.
    void showLabel(int index);
    void reserveEdge();
    int alongEdge(QPoint global) const;
    void showMenu(const DockItem& item, QPoint global);
    void moveDragImage(QPoint global);
    void endDrag(int index, QPoint global);
    QImage imageOf(const DockItem& item, int pixels);

    DockTiles& m_tiles;
    FileIconCache& m_icons;
    bool m_translucent;
    DockConfiguration m_configuration;
    QList<DockItem> m_items;
    DockLayout m_layout;
    std::optional<int> m_pointer;
    // The tile a press began on, and whether it became a drag.
    int m_pressed = -1;
    QPoint m_pressPoint;
    bool m_dragging = false;
    QLabel* m_dragImage = nullptr;
    DockLabel* m_label = nullptr;
    int m_labelled = -1;
    int m_reservedThickness = 0;
};
