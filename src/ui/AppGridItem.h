#pragma once

#include "MainWindowEnvironment.h"
#include "model/AppItem.h"

#include <QAbstractButton>
#include <QImage>
#include <QLayout>
#include <QList>
#include <QPoint>
#include <QUuid>
#include <QWidget>

#include <memory>
#include <optional>

class GlyphButton;
class WorkItem;

// One application of an expanded folder card: a 52 × 52 tile with the application's icon. The icon
// is read the first time the tile shows, at the next turn of the main loop, with a placeholder
// symbol until then. In edit mode the tile carries a delete badge, can be dragged (offering its
// application id as plain text) and takes drops of other tiles, reporting both to its card.
class AppGridItem final : public QWidget {
    Q_OBJECT
public:
    static constexpr int tileSize = 52;
    static constexpr int iconSize = 46;
    static constexpr int badgeSize = 16;

    AppGridItem(const MainWindowEnvironment& environment, const AppItem& app, bool isEditing,
                QWidget* parent = nullptr);
    ~AppGridItem() override;

    const AppItem& app() const { return m_app; }
    bool isEditing() const { return m_isEditing; }
    void setEditing(bool editing);
    // Drawn faded while it is the tile being dragged.
    void setDragged(bool dragged);
    bool hasIcon() const { return m_icon.has_value(); }
    // Its application is not where the item says (brought from another machine, or uninstalled):
    // drawn faded with a mark, and said so.
    bool isMissing() const { return m_isMissing; }
    GlyphButton* deleteBadge() const { return m_badge; }
    void retranslate();

    // The id a drag of this kind carries, if `text` is one.
    static std::optional<QUuid> draggedID(const QString& text);

    QSize sizeHint() const override;

Q_SIGNALS:
    void deleteRequested(const QUuid& appID);
    void dragStarted(const QUuid& appID);
    // A drag ended (dropped anywhere, or given up).
    void dragFinished(const QUuid& appID);
    // A drag entered this tile; `offeredID` is the id its plain text carries, if any.
    void dropEntered(const QUuid& targetID, const std::optional<QUuid>& offeredID);
    void dropPerformed(const QUuid& targetID);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void loadIcon();
    void startDrag();

    const MainWindowEnvironment& m_environment;
    AppItem m_app;
    bool m_isEditing;
    bool m_isMissing;
    bool m_isDragged = false;
    bool m_isHovered = false;
    std::optional<QImage> m_icon;
    std::shared_ptr<WorkItem> m_iconLoad;
    std::optional<QPoint> m_pressPosition;
    GlyphButton* m_badge;
};

// Lays tiles out in rows, as many to a row as the width holds, wrapping to the height it needs.
class AppGridLayout final : public QLayout {
public:
    static constexpr int spacing = 8;

    explicit AppGridLayout(QWidget* parent = nullptr);
    ~AppGridLayout() override;

    // Puts the widgets in this order, taking in new ones; ones left out are removed, not deleted.
    void setWidgets(const QList<QWidget*>& widgets);

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(m_items.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;
    // Tiles to a row at `width`.
    static int columnsFor(int width);

private:
    int arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> m_items;
};

// A folder's glyph as a button on a small rounded fill: the edit-mode glyph that opens the icon
// picker. Return, Enter and Space press it.
class FolderGlyphButton final : public QAbstractButton {
    Q_OBJECT
public:
    explicit FolderGlyphButton(double pointSize, QWidget* parent = nullptr);

    void setSymbol(const QString& symbol);
    QString symbol() const { return m_symbol; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_symbol;
    double m_pointSize;
};

// The tiles of one folder card in a wrapping grid. Tiles are kept and moved, never made anew, when
// the order changes: the one being dragged must outlive the move. Reports what its tiles report.
// While editing, the keyboard reorders too: on a tile's delete badge (its Tab stop) Ctrl with the
// arrows moves the tile one place or one row, Ctrl+Home and Ctrl+End to either end, and Delete
// removes it as the badge does; the focus stays with the application.
class AppGrid final : public QWidget {
    Q_OBJECT
public:
    explicit AppGrid(const MainWindowEnvironment& environment, QWidget* parent = nullptr);

    ~AppGrid() override;

    // Leaving edit mode ends any drag.
    void setApps(const QList<AppItem>& apps, bool isEditing);
    // The application being dragged in this grid; its tile is drawn faded.
    std::optional<QUuid> draggingAppID() const { return m_draggingAppID; }
    void setDraggingAppID(const std::optional<QUuid>& draggingAppID);
    // A drag entered the tile of `targetID`: asks to move the dragged application there, or, for a
    // drag whose start this grid did not see, takes the id the drag offers.
    void enterDrop(const QUuid& targetID, const std::optional<QUuid>& offeredID);
    // A drop or the end of a drag: the mark goes a moment later, once the last move has settled.
    void endDragSoon();
    // In the order shown.
    const QList<AppGridItem*>& tiles() const { return m_tiles; }
    void retranslate();
    // Tiles to a row at the grid's width now (the layout forgets its own until it runs again).
    int columnCount() const { return AppGridLayout::columnsFor(contentsRect().width()); }

Q_SIGNALS:
    void deleteRequested(const QUuid& appID);
    void moveRequested(const QUuid& draggedID, const QUuid& targetID);
    void moveToRequested(const QUuid& appID, int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Tells screen readers each tile's place, which the keyboard moves change.
    void describePlaces();
    bool badgeKeyPressed(AppGridItem* tile, QKeyEvent* event);

    const MainWindowEnvironment& m_environment;
    bool m_isEditing = false;
    std::optional<QUuid> m_draggingAppID;
    std::shared_ptr<WorkItem> m_dragEnd;
    AppGridLayout* m_layout;
    QList<AppGridItem*> m_tiles;
};
