#pragma once

#include "PopupEnvironment.h"
#include "model/AppFolder.h"
#include "model/Enums.h"
#include "settings/AppSettings.h"
#include "widgets/ColorScheme.h"

#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <memory>

class FolderGlyph;
class GlyphButton;
class PopupAppIconView;
class PopupNotice;
class PresentationEffect;
class QLabel;
class ScrollView;
class SpringAnimation;
class TextButton;
class WorkItem;

// What the popup shows: a card with the folder's name, a pin button (centred popups only) and a
// close button, over a grid of the folder's applications. Above the Dock the card's outline
// carries an arrow toward the clicked tile. The widget's size is the card's plus room for its
// shadows on every side. Built anew for each opening. An application that could not be opened
// is told in a notice above the grid, until the next launch or arrow key, or a few seconds.
// The view never grows past the room it is given: fewer columns where the screen is narrow, and
// a grid that scrolls where it is short. It is at least as wide as the folder's name needs, and
// an empty folder says so and offers to open the folder in the main window.
class FolderPopupView final : public QWidget {
    Q_OBJECT
public:
    struct Spacing {
        double popupContentInset = 12.0;
        double popupGridSpacing = 8.0;
        double popupSectionSpacing = 12.0;
    };

    static constexpr double launchFailureNoticeDuration = 5.0;

    FolderPopupView(const PopupEnvironment& environment, Spacing spacing, AppFolder folder, DockEdge dockEdge,
                    std::function<void()> onDismiss, std::function<void(bool)> onTogglePin, ColorScheme colorScheme,
                    QWidget* parent = nullptr);
    ~FolderPopupView() override;

    // The size the view needs for its content.
    QSize fittingSize() const;
    QSize sizeHint() const override { return fittingSize(); }

    bool isPinned() const { return m_isPinned; }
    bool isPresented() const { return m_isPresented; }
    const AppFolder& folder() const { return m_folder; }
    DockEdge dockEdge() const { return m_dockEdge; }
    // The card's outline in the view's coordinates.
    QPainterPath cardOutline() const;
    // The card's shape in whole pixels, for a window that cannot be see-through.
    QRegion cardMask() const;
    QList<PopupAppIconView*> cells() const { return m_cells; }
    QLabel* titleLabel() const { return m_title; }
    GlyphButton* pinButton() const { return m_pin; }
    // Opens every application of the folder at once; none for an empty folder.
    GlyphButton* openAllButton() const { return m_openAll; }
    GlyphButton* closeButton() const { return m_close; }
    // The notice of a failed launch, while it shows.
    PopupNotice* launchFailureNotice() const { return m_notice; }

    // The system appearance the colours are drawn in; it changes with the theme while the view
    // stays.
    void setAppearance(ColorScheme appearance);
    // Gives the keyboard to the first application, or to the main-window button or the close
    // button when there is none.
    void focusFirstControl();
    // Shows the focus ring from the start, for a popup that was not opened by a click.
    void setFocusRingShownAtOpening(bool shown) { m_focusRingAtOpening = shown; }
    // The most the view may take, shadows included; unbounded until set.
    void setAvailableSize(QSizeF size);
    QSizeF availableSize() const { return m_availableSize; }
    // The scrolling region that holds the application cells.
    ScrollView* grid() const { return m_grid; }
    int gridColumns() const { return m_columns; }
    QLabel* emptyFolderMessage() const { return m_emptyMessage; }
    TextButton* openInMainWindowButton() const { return m_openInMainWindow; }

Q_SIGNALS:
    // The first time the view has been painted.
    void firstFramePainted();
    // The card's outline changed shape or place.
    void outlineChanged();
    // The size the view needs changed, with the view already at that size.
    void fittingSizeChanged();
    // The user asked to see this folder in the main application's window.
    void openInMainWindowRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void settingChanged(AppSettings::Field field);
    void buildContent();
    void layOutContent();
    void togglePin();
    void openAll();
    void showLaunchFailure(const QString& appName);
    void clearLaunchFailure();
    void makeLaunchFailureNotice();
    void setPresented(double progress);
    void moveFocus(int key);
    // How wide the header row must be to show the whole title.
    double headerWidthNeeded() const;
    QList<QWidget*> focusChain() const;
    QRectF cardRect() const;
    int columnCount() const;

    const PopupEnvironment& m_environment;
    Spacing m_spacing;
    AppFolder m_folder;
    DockEdge m_dockEdge;
    std::function<void()> m_onDismiss;
    std::function<void(bool)> m_onTogglePin;
    ColorScheme m_colorScheme;
    ColorScheme m_appearance;
    bool m_isPinned = false;
    bool m_isPresented = false;
    bool m_painted = false;

    QWidget* m_header = nullptr;
    FolderGlyph* m_glyph = nullptr;
    QLabel* m_title = nullptr;
    GlyphButton* m_pin = nullptr;
    GlyphButton* m_openAll = nullptr;
    GlyphButton* m_close = nullptr;
    QList<PopupAppIconView*> m_cells;
    ScrollView* m_grid = nullptr;
    QLabel* m_emptyMessage = nullptr;
    TextButton* m_openInMainWindow = nullptr;
    int m_columns = 1;
    QSizeF m_availableSize{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    bool m_focusRingAtOpening = false;
    PopupNotice* m_notice = nullptr;
    QString m_failedAppName; // empty while no launch failure is told
    std::shared_ptr<WorkItem> m_noticeExpiry;
    QSizeF m_cardSize;
    double m_headerBottom = 0; // y of the divider inside the card, 0 without a header

    SpringAnimation* m_presentation = nullptr;
    SpringAnimation* m_headerFade = nullptr;
    QPointer<PresentationEffect> m_effect;
    QImage m_outerShadow;
    QImage m_innerShadow;
    QSize m_shadowsFor;
    QPointF m_dragOffset;
};
