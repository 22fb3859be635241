#pragma once

#include "FolderPopupView.h"
#include "PopupEnvironment.h"
#include "PopupPanel.h"
#include "PopupPlacement.h"
#include "PopupPresenter.h"
#include "platform/Clock.h"
#include "platform/DockHost.h"
#include "platform/EventMonitor.h"

#include <QObject>
#include <QPointF>

#include <functional>
#include <memory>
#include <optional>

class DistributedNotifications;
class DockHeight;
class WindowLevels;

// Opens, places, pins and closes a helper's folder popup. One panel per process, reused for
// every opening; only one unpinned popup is open across all helpers at a time.
class PopupPanelController final : public QObject, public PopupPresenter {
    Q_OBJECT
public:
    // A close this recent refuses an opening: the click outside that closed the popup may be the
    // same click reaching the folder's tile. A close by a press counts from the press's release,
    // since the Dock reopens on the release, however long the press is held.
    static constexpr double reopenDebounce = 0.15;
    static constexpr FolderPopupView::Spacing spacing{12.0, 8.0, 12.0};

    struct Services {
        const Clock& clock;
        Scheduler& scheduler;
        DistributedNotifications& distributedNotifications;
        const Screens& screens;
        EventMonitor& eventMonitor;
        WindowLevels& windowLevels;
        DockHeight& dockHeight;
        std::function<PopupPlacement::DockSizes()> dockSizes;
        // This helper's folder id as text; none in the main application.
        std::function<std::optional<QString>()> currentGroupID;
        PopupEnvironment environment;
        // The dock the user runs, where it is not the Linux Dock (leave both unset for that one,
        // whose preferences `dockSizes` reads). Its edge and icon size, none where it cannot tell
        // (the GNOME dash inside the overview): the popup then opens centred, unless a dock
        // reserves a screen edge or the tile's position tells the edge. And where the tile of this helper's launcher
        // is, where the dock can tell: the arrow aims there rather than at the pointer.
        std::function<std::optional<DockHost::Geometry>()> hostGeometry = {};
        std::function<std::optional<DockHost::TilePosition>()> tilePosition = {};
        // Whether the pointer is where a click on that dock was: not in a Wayland session, where
        // the shell's dock is no window of ours to see, so only a tile the host names places the
        // popup there.
        bool pointerFollowsDockClicks = true;
        // Whether the event monitor hears clicks on other programs' windows: not in a Wayland
        // session, where it hears only Xwayland's. There an unpinned popup closes instead when
        // it stops being the active window.
        bool outsideClicksHeard = true;
    };

    explicit PopupPanelController(Services services, QObject* parent = nullptr);
    ~PopupPanelController() override;

    void presentPopup(const AppFolder& folder) override;
    void showPopupWithoutClick(const AppFolder& folder) override;
    bool hasPopup() const override { return m_popupPanel != nullptr; }
    bool isPopupVisible() const override;
    void layOutPopupAgain() override { layoutPopupPanel(); }
    void setPopupAppearance(AppThemeMode theme) override;
    void handleClosePopupsNotification(const Notification& notification) override;
    void setCloseHandler(std::function<void()> handler) override { m_closeHandler = std::move(handler); }

    void closePopup();
    void setPopupPinned(bool pinned);
    void layoutPopupPanel();

    PopupPanel* popupPanel() const { return m_popupPanel.get(); }
    bool isPopupPinned() const { return m_isPopupPinned; }
    double lastPopupCloseTime() const { return m_lastPopupCloseTime; }
    QPointF absoluteArrowLocation() const { return m_absoluteArrowLocation; }
    DockEdge lastDockEdge() const { return m_placementMemory.lastDockEdge; }
    bool hasOutsideClickMonitor() const { return m_outsideClickMonitor.has_value(); }
    // Whether the press that closed the popup is still held.
    bool isClosingPressHeld() const { return m_closingPressRelease.has_value(); }

private:
    void installOutsideClickMonitor();
    void removeOutsideClickMonitor();
    void awaitClosingPressRelease();
    void closingPressReleased();
    QPointF popupOriginAboveDock(QSizeF size);
    // The most the panel may take on the screen it opens on.
    // The main screen, or the first there is when none is main.
    ScreenFrames centringScreen() const;
    QSizeF popupRoom();
    // Centred by the setting, or because the host cannot tell where its dock is.
    bool opensCentred() const;
    // What the host says at this opening; none without a host or with one that cannot tell.
    std::optional<PopupPlacement::HostGeometry> hostPlacement(const std::optional<DockHost::TilePosition>& tile) const;

    Services m_services;
    std::unique_ptr<PopupPanel> m_popupPanel;
    bool m_isPopupPinned = false;
    std::optional<EventMonitor::Token> m_outsideClickMonitor;
    double m_lastPopupCloseTime = Clock::distantPast;
    // Watches for the release of the outside press that closed the popup, while it is held.
    std::optional<EventMonitor::Token> m_closingPressRelease;
    double m_closingPressReleaseTime = Clock::distantPast;
    QPointF m_absoluteArrowLocation;
    // Above the Dock: the origin placement chose last, and how far the user has dragged the panel
    // from it since the popup opened. A new layout keeps the panel where the user put it.
    QPointF m_placedOrigin;
    QPointF m_userShift;
    PopupPlacement::Memory m_placementMemory;
    // Taken at each opening: the host's geometry, and whether it could not tell any.
    std::optional<PopupPlacement::HostGeometry> m_host;
    bool m_hostCannotTell = false;
    // The opening under way was asked for without a click on the tile.
    bool m_openingWithoutClick = false;
    std::function<void()> m_closeHandler;
};
