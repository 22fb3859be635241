#include "PopupPanelController.h"

#include "FolderPopupView.h"
#include "model/FolderID.h"
#include "platform/DistributedNotifications.h"
#include "platform/FileIconCache.h"
#include "platform/LifetimeBound.h"
#include "platform/NotificationNames.h"
#include "platform/Scheduler.h"
#include "platform/Screens.h"
#include "settings/AppSettings.h"

#include <algorithm>

namespace {

// The popup's view draws its arrow toward the bottom or a side; a dock along the top gives it no
// place to aim from.
std::optional<DockEdge> placementEdge(DockHost::Edge edge) {
    switch (edge) {
    case DockHost::Edge::Bottom:
        return DockEdge::Bottom;
    case DockHost::Edge::Left:
        return DockEdge::Left;
    case DockHost::Edge::Right:
        return DockEdge::Right;
    case DockHost::Edge::Top:
        break;
    }
    return std::nullopt;
}

} // namespace

PopupPanelController::PopupPanelController(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_placementMemory{m_services.dockHeight, DockEdge::Bottom} {
    // However the settings learn of a new theme, an open popup takes it at once.
    connect(&m_services.environment.settings, &AppSettings::changed, this, [this](AppSettings::Field field) {
        if (field == AppSettings::Field::AppTheme)
            setPopupAppearance(m_services.environment.settings.resolvedTheme());
    });
}

PopupPanelController::~PopupPanelController() {
    removeOutsideClickMonitor();
    if (m_closingPressRelease)
        m_services.eventMonitor.removeMonitor(*m_closingPressRelease);
}

bool PopupPanelController::isPopupVisible() const {
    return m_popupPanel && m_popupPanel->isVisible();
}

void PopupPanelController::presentPopup(const AppFolder& folder) {
    const ScreenFrames screen = m_services.screens.mainScreen().value_or(ScreenFrames{});
    // A click on the tile of an open popup closes it.
    if (isPopupVisible()) {
        closePopup();
        return;
    }
    const double now = m_services.clock.now();
    if (isClosingPressHeld() || now - std::max(m_lastPopupCloseTime, m_closingPressReleaseTime) <= reopenDebounce)
        return;

    const std::optional<QString> groupID = m_services.currentGroupID();
    m_services.distributedNotifications.post(NotificationName::TRCloseNonPinnedPopups, groupID.value_or(QString()));

    if (!m_popupPanel) {
        m_popupPanel = std::make_unique<PopupPanel>(m_services.screens, m_services.windowLevels,
                                                    m_services.environment.translucentWindows);
        connect(m_popupPanel.get(), &PopupPanel::movedAway, this, [this] {
            // A centred panel keeps its centre wherever it is; only placement above the
            // Dock needs to know of the drag.
            if (m_services.environment.settings.popupPosition() == PopupPosition::AboveDock)
                m_userShift = m_popupPanel->frame().topLeft() - m_placedOrigin;
        });
        if (!m_services.outsideClicksHeard) {
            // A turn later: the window system is still handing the activation over.
            connect(m_popupPanel.get(), &PopupPanel::deactivated, this, [this] {
                m_services.scheduler.schedule(this, 0, [this] {
                    if (isPopupVisible() && !m_isPopupPinned)
                        closePopup();
                });
            });
        }
    }
    m_isPopupPinned = false;
    m_userShift = {};
    m_absoluteArrowLocation = m_services.screens.mouseLocation();
    const bool hosted = bool(m_services.hostGeometry);
    const std::optional<DockHost::TilePosition> tile =
        hosted && m_services.tilePosition ? m_services.tilePosition() : std::nullopt;
    m_host = hostPlacement(tile);
    // The tile the host names; else the pointer, which on X11 is still inside the clicked tile.
    if (m_host && tile)
        m_absoluteArrowLocation = m_services.screens.toYUp(QRect(tile->point, QSize(0, 0))).topLeft();
    // A host that cannot tell where its dock stands leaves only a reserved edge to go by, and
    // where the pointer says nothing of the click, nothing but the tile it names.
    m_hostCannotTell = (hosted && ((!m_host && !PopupPlacement::dockReservesAnEdge(m_services.screens.screens())) ||
                                   (!(m_host && tile) && !m_services.pointerFollowsDockClicks))) ||
                       (m_openingWithoutClick && !(m_host && tile));
    m_popupPanel->setLevel(PopupPanel::Level::Floating);

    const AppSettings& settings = m_services.environment.settings;
    const DockEdge edge =
        opensCentred() ? DockEdge::Bottom : PopupPlacement::dockEdge(screen, m_host, m_placementMemory);
    const ColorScheme scheme = colorSchemeFor(settings.resolvedTheme());
    auto* view =
        new FolderPopupView(m_services.environment, spacing, folder, edge, boundTo(this, [this] { closePopup(); }),
                            boundTo(this, [this](bool pinned) { setPopupPinned(pinned); }), scheme);
    // Not opened by a click on the tile: the keyboard's place shows from the start.
    view->setFocusRingShownAtOpening(
        PopupPlacement::pointerAwayFromDock(m_absoluteArrowLocation, m_services.screens.screens()));
    connect(view, &FolderPopupView::openInMainWindowRequested, this, [this, id = folder.id] {
        m_services.distributedNotifications.post(NotificationName::TROpenFolderInMainWindow, FolderID::canonical(id));
    });
    // A notice coming or going changes the card's size while it shows: the panel follows.
    connect(view, &FolderPopupView::fittingSizeChanged, this, [this] {
        if (isPopupVisible())
            layoutPopupPanel();
    });
    // The appearance first: the new view then takes it as it is installed, and is built once.
    m_popupPanel->setAppearance(scheme);
    m_popupPanel->setContentView(view);
    layoutPopupPanel();
    m_popupPanel->orderFront();
    removeOutsideClickMonitor();
    installOutsideClickMonitor();
}

void PopupPanelController::showPopupWithoutClick(const AppFolder& folder) {
    if (isPopupVisible())
        return;
    m_openingWithoutClick = true;
    presentPopup(folder);
    m_openingWithoutClick = false;
}

void PopupPanelController::layoutPopupPanel() {
    if (!m_popupPanel || !m_popupPanel->contentView())
        return;
    m_popupPanel->contentView()->setAvailableSize(popupRoom());
    const QSize fitting = m_popupPanel->contentView()->fittingSize();
    const double w = fitting.width(), h = fitting.height();
    const bool visible = m_popupPanel->isVisible();
    if (opensCentred()) {
        m_userShift = {};
        if (!visible) {
            const QPointF origin = PopupPlacement::centredOrigin({w, h}, centringScreen());
            m_popupPanel->setFrame(QRectF(origin, QSizeF(w, h)), false);
        } else {
            // The centre stays where it is.
            const QRectF current = m_popupPanel->frame();
            const QPointF origin(current.x() + (current.width() - w) / 2, current.y() + (current.height() - h) / 2);
            m_popupPanel->setFrame(QRectF(origin, QSizeF(w, h)), true);
        }
        return;
    }
    m_placedOrigin = popupOriginAboveDock({w, h});
    m_popupPanel->setFrame(QRectF(m_placedOrigin + m_userShift, QSizeF(w, h)), visible);
}

ScreenFrames PopupPanelController::centringScreen() const {
    if (const std::optional<ScreenFrames> main = m_services.screens.mainScreen())
        return *main;
    const QList<ScreenFrames> screens = m_services.screens.screens();
    return screens.isEmpty() ? ScreenFrames{} : screens.first();
}

QSizeF PopupPanelController::popupRoom() {
    if (opensCentred())
        return PopupPlacement::roomCentred(centringScreen());
    return PopupPlacement::roomAboveDock(
        m_absoluteArrowLocation, m_services.screens.screens(), m_services.screens.mainScreen(),
        m_services.dockSizes ? m_services.dockSizes() : PopupPlacement::DockSizes{}, m_placementMemory, m_host);
}

bool PopupPanelController::opensCentred() const {
    return m_hostCannotTell || m_services.environment.settings.popupPosition() == PopupPosition::Center;
}

std::optional<PopupPlacement::HostGeometry>
PopupPanelController::hostPlacement(const std::optional<DockHost::TilePosition>& tile) const {
    const std::optional<DockHost::Geometry> geometry =
        m_services.hostGeometry ? m_services.hostGeometry() : std::nullopt;
    // A dock that tells only where the clicked tile is (the GNOME dash) tells its edge with it.
    const std::optional<DockHost::Edge> hostEdge = geometry ? std::optional(geometry->edge)
                                                   : tile   ? std::optional(tile->edge)
                                                            : std::nullopt;
    const std::optional<DockEdge> edge = hostEdge ? placementEdge(*hostEdge) : std::nullopt;
    if (!edge)
        return std::nullopt;
    return PopupPlacement::HostGeometry{*edge, geometry ? double(geometry->iconSize) : DockMetrics::defaultTileSize};
}

QPointF PopupPanelController::popupOriginAboveDock(QSizeF size) {
    const PopupPlacement::AboveDock placement = PopupPlacement::popupOriginAboveDock(
        size, m_absoluteArrowLocation, m_services.screens.screens(), m_services.screens.mainScreen(),
        m_services.dockSizes ? m_services.dockSizes() : PopupPlacement::DockSizes{}, m_placementMemory, m_host);
    // One turn later, so the first frame of a new popup may still show the previous offset.
    const double arrow = placement.arrowOffset;
    m_services.scheduler.schedule(this, 0, [this, arrow] {
        AppSettings& settings = m_services.environment.settings;
        if (settings.popupArrowOffset() != arrow)
            settings.setPopupArrowOffset(arrow);
    });
    return placement.origin;
}

void PopupPanelController::closePopup() {
    removeOutsideClickMonitor();
    if (m_popupPanel)
        m_popupPanel->orderOut();
    // The icons wait on disk between popups, not in every helper's memory.
    m_services.environment.icons.releaseMemory();
    m_isPopupPinned = false;
    m_lastPopupCloseTime = m_services.clock.now();
    if (m_closeHandler)
        m_closeHandler();
}

void PopupPanelController::setPopupPinned(bool pinned) {
    m_isPopupPinned = pinned;
    if (m_popupPanel)
        m_popupPanel->setLevel(pinned ? PopupPanel::Level::Status : PopupPanel::Level::Floating);
    removeOutsideClickMonitor();
    if (!pinned)
        installOutsideClickMonitor();
}

void PopupPanelController::installOutsideClickMonitor() {
    m_outsideClickMonitor = m_services.eventMonitor.addGlobalMouseDownMonitor(
        MouseButton::Left | MouseButton::Right, boundTo(this, [this] {
            if (!isPopupVisible() || m_isPopupPinned)
                return;
            if (m_popupPanel->frame().contains(m_services.screens.mouseLocation()))
                return;
            awaitClosingPressRelease();
            m_services.scheduler.schedule(this, 0, [this] { closePopup(); });
        }));
}

void PopupPanelController::awaitClosingPressRelease() {
    if (m_closingPressRelease)
        return;
    // Without a way to hear the release, the close's own time is all there is to go by.
    m_closingPressRelease = m_services.eventMonitor.addGlobalMouseUpMonitor(
        MouseButton::Left | MouseButton::Right, boundTo(this, [this] { closingPressReleased(); }));
}

void PopupPanelController::closingPressReleased() {
    if (!m_closingPressRelease)
        return;
    m_services.eventMonitor.removeMonitor(*m_closingPressRelease);
    m_closingPressRelease.reset();
    m_closingPressReleaseTime = m_services.clock.now();
}

void PopupPanelController::removeOutsideClickMonitor() {
    if (!m_outsideClickMonitor)
        return;
    m_services.eventMonitor.removeMonitor(*m_outsideClickMonitor);
    m_outsideClickMonitor.reset();
}

void PopupPanelController::setPopupAppearance(AppThemeMode theme) {
    if (m_popupPanel)
        m_popupPanel->setAppearance(colorSchemeFor(theme));
}

void PopupPanelController::handleClosePopupsNotification(const Notification& notification) {
    const std::optional<QString> sender = notification.object.typeId() == QMetaType::QString
                                              ? std::optional<QString>(notification.object.toString())
                                              : std::nullopt;
    const std::optional<QString> own = m_services.currentGroupID();
    // A helper never closes its popup for its own broadcast.
    if (sender == own)
        return;
    if (isPopupVisible() && !m_isPopupPinned)
        closePopup();
}
