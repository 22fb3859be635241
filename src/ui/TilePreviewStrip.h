#pragma once

#include "MainWindowEnvironment.h"
#include "model/AppFolder.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QUuid>
#include <QWidget>

class SpringAnimation;

// The folders' tiles side by side, drawn by the Dock tile's own painter so the preview is what the
// Dock will show. The selected folder sits in the middle, larger; a click on another tile, a swipe
// or the Left and Right keys select another, and the strip springs over to it.
class TilePreviewStrip final : public QWidget {
    Q_OBJECT
public:
    static constexpr double tileStep = 150;
    static constexpr double previewScale = 1.45;
    // The side of an unselected tile's image (its 512-point canvas, margins included).
    static constexpr double tileSide = 76;

    explicit TilePreviewStrip(const MainWindowEnvironment& environment, QWidget* parent = nullptr);

    // New folders or styles; keeps the motion going when only the selection moved.
    void setFolders(const QList<AppFolder>& folders, int selectedIndex);
    const QList<AppFolder>& folders() const { return m_folders; }
    int selectedIndex() const { return m_selected; }
    // The horizontal translation of a drag in progress; 0 when there is none.
    double dragOffset() const { return m_dragOffset; }
    // Where the tile of a folder is drawn now (its visible rounded square).
    QRectF tileRect(int index) const;
    // The preview's screen-reader name; its value is the selected folder's name.
    void setAccessibleTitle(const QString& title);
    void retranslate();

    QSize sizeHint() const override;

Q_SIGNALS:
    // The user selected another folder.
    void selectionChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void select(int index);
    void moveTo(int index, bool animated);
    QImage tileImage(const AppFolder& folder);
    double scaleAt(int index) const;
    void announceValue();

    const MainWindowEnvironment& m_environment;
    QList<AppFolder> m_folders;
    int m_selected = -1;
    SpringAnimation* m_position; // the selected index as the strip shows it, moving between tiles
    SpringAnimation* m_drag;     // the drag offset as the strip shows it
    double m_dragOffset = 0;
    bool m_pressed = false;
    bool m_dragging = false;
    double m_pressX = 0;
    double m_lastX = 0;
    double m_lastTime = 0;
    double m_velocity = 0; // points per second, of the latest moves
    QHash<QUuid, QImage> m_images;
};
