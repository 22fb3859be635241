#pragma once

#include "widgets/ColorScheme.h"

#include <QPointer>
#include <QWidget>

class FolderPopupView;
class QPropertyAnimation;
class Screens;
class WindowLevels;

// The one window a helper shows its popup in: frameless, see-through where the content draws
// nothing, without a shadow of its own, kept above other windows and not hidden when the helper
// is in the background. Its content is replaced at every opening.
class PopupPanel final : public QWidget {
    Q_OBJECT
public:
    // How high the panel floats: above normal windows, or higher still while pinned, so that a
    // pinned popup stays above the unpinned one another helper opens.
    enum class Level { Floating = 3, Status = 25 };

    PopupPanel(const Screens& screens, WindowLevels& levels, bool translucent);
    ~PopupPanel() override;

    // Takes ownership; the previous content is deleted.
    void setContentView(FolderPopupView* view);
    FolderPopupView* contentView() const { return m_content; }

    void setLevel(Level level);
    Level level() const { return m_level; }
    void setAppearance(ColorScheme appearance);
    ColorScheme appearance() const { return m_appearance; }

    // The frame in y-up screen coordinates: where it is, or where it is moving to.
    QRectF frame() const;
    // Moves and sizes the panel, gliding there when `animate` and the panel is visible.
    void setFrame(const QRectF& frame, bool animate);
    // Shows the panel in front and gives it the keyboard, whether or not the helper is active.
    void orderFront();
    void orderOut();

Q_SIGNALS:
    // The user (or the window manager) moved the visible panel; `frame()` already says where.
    void movedAway();
    // The visible panel stopped being the active window: the user went elsewhere.
    void deactivated();

protected:
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateMask();

    const Screens& m_screens;
    WindowLevels& m_levels;
    bool m_translucent;
    QPointer<FolderPopupView> m_content;
    Level m_level = Level::Floating;
    ColorScheme m_appearance = ColorScheme::Dark;
    QRect m_target;
    QPropertyAnimation* m_glide = nullptr;
};
