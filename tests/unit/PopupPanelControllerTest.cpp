// Opening, placing, pinning and closing a helper's popup, with the screens, clicks, time,
// launches and other helpers faked.
#include "PopupTestBed.h"
#include "platform/NotificationNames.h"
#include "popup/FolderPopupView.h"
#include "popup/PopupAppIconView.h"
#include "popup/PopupNotice.h"
#include "widgets/FolderGlyph.h"
#include "widgets/GlyphButton.h"

#include <QAccessible>
#include <QTest>

class PopupPanelControllerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { m_bed.reset(); }

    void outsideClickClosesAndTheSameClickCannotReopen();
    void aPressOnTheTileClosesThePopupHoweverLongItIsHeld();
    void pinningRaisesThePanelAndStopsOutsideClicks();
    void broadcastsCloseOtherHelpersUnpinnedPopupsOnly();
    void centredPopupShowsThePinAndKeepsItsCentre();
    void openedWithoutAClickGoesToTheTileItKnowsOrTheCentre();
    void openAllOpensEachApplicationOnceAndClosesUnlessPinned();
    void placementAimsAtTheOpeningClickAndWritesTheArrowOneTurnLater();
    void aHostDockIsAimedAtOrThePopupIsCentredWhereItCannotTell();
    void inAWaylandSessionOnlyATileTheHostNamesPlacesThePopup();
    void inAWaylandSessionGoingElsewhereClosesAnUnpinnedPopup();
    void launchesCloseAnUnpinnedPopupOnlyWhenTheyWork();
    void aFailedLaunchIsToldUntilTheNextOneOrAFewSeconds();
    void keyboardMovesAcrossTheGridLaunchesAndCloses();
    void anOpenPinnedPopupFollowsTheTheme();
    void aDraggedPopupWorksWhereItWasPut();

private:
    FolderPopupView* view() const { return m_bed->controller.popupPanel()->contentView(); }
    int closeBroadcasts() const {
        int count = 0;
        for (const Notification& n : m_bed->home.distributedNotifications.posted)
            count += n.name == NotificationName::TRCloseNonPinnedPopups;
        return count;
    }

    std::unique_ptr<PopupTestBed> m_bed;
    AppFolder m_folder = PopupTestBed::folder(4);
};

void PopupPanelControllerTest::init() {
    m_bed = std::make_unique<PopupTestBed>();
    m_bed->settings->setPopupAnimationStyle(PopupAnimation::None);
}

void PopupPanelControllerTest::outsideClickClosesAndTheSameClickCannotReopen() {
    PopupPanelController& controller = m_bed->controller;
    controller.presentPopup(m_folder);
    QVERIFY(controller.isPopupVisible());
    QCOMPARE(controller.popupPanel()->level(), PopupPanel::Level::Floating);
    // Every other helper is told to close its popup, naming this one.
    QCOMPARE(closeBroadcasts(), 1);
    QCOMPARE(m_bed->home.distributedNotifications.posted.last().object.toString(), *m_bed->groupID);

    // A click inside the panel leaves it open.
    m_bed->screens.mouse = controller.popupPanel()->frame().center();
    m_bed->events.click();
    m_bed->clock.advance(0);
    QVERIFY(controller.isPopupVisible());

    // A click outside closes it one turn later.
    m_bed->screens.mouse = {100, 700};
    m_bed->events.click(MouseButton::Right);
    QVERIFY(controller.isPopupVisible());
    m_bed->clock.advance(0);
    QVERIFY(!controller.isPopupVisible());
    QVERIFY(!controller.hasOutsideClickMonitor());
    QCOMPARE(controller.lastPopupCloseTime(), m_bed->clock.now());

    // The same mouse-down reaching the tile is refused; a click 0.2 s after the close opens it.
    m_bed->clock.advance(0.14);
    controller.presentPopup(m_folder);
    QVERIFY(!controller.isPopupVisible());
    QCOMPARE(closeBroadcasts(), 1);
    m_bed->clock.advance(0.06);
    controller.presentPopup(m_folder);
    QVERIFY(controller.isPopupVisible());

    // A click on its own tile closes it.
    controller.presentPopup(m_folder);
    QVERIFY(!controller.isPopupVisible());

    // Where the platform refuses a monitor, the popup still opens and closes by its buttons.
    m_bed->clock.advance(1);
    m_bed->events.refuse = true;
    controller.presentPopup(m_folder);
    QVERIFY(controller.isPopupVisible());
    QVERIFY(!controller.hasOutsideClickMonitor());
    view()->closeButton()->click();
    QVERIFY(!controller.isPopupVisible());
}

void PopupPanelControllerTest::aPressOnTheTileClosesThePopupHoweverLongItIsHeld() {
    PopupPanelController& controller = m_bed->controller;
    const QPointF tile = m_bed->screens.mouse;
    controller.presentPopup(m_folder);
    QVERIFY(!controller.popupPanel()->frame().contains(tile));

    // The press on the tile is outside the popup: it closes it at once.
    m_bed->events.press();
    m_bed->clock.advance(0);
    QVERIFY(!controller.isPopupVisible());
    QVERIFY(controller.isClosingPressHeld());

    // Held for 0.4 s; the Dock reopens at the release, which reaches the helper just before or
    // just after the release itself.
    m_bed->clock.advance(0.4);
    controller.presentPopup(m_folder);
    QVERIFY(!controller.isPopupVisible());
    m_bed->events.release();
    QVERIFY(!controller.isClosingPressHeld());
    m_bed->clock.advance(0.02);
    controller.presentPopup(m_folder);
    QVERIFY(!controller.isPopupVisible());
    QCOMPARE(closeBroadcasts(), 1);
    QCOMPARE(m_bed->events.monitors.size(), std::size_t(0));

    // The next click on the tile opens it again.
    m_bed->clock.advance(0.2);
    controller.presentPopup(m_folder);
    QVERIFY(controller.isPopupVisible());

    // A pinned popup hears no press; the reopen at the release closes it, however long the press.
    m_bed->settings->setPopupPosition(PopupPosition::Center);
    controller.closePopup();
    m_bed->clock.advance(1);
    controller.presentPopup(m_folder);
    view()->pinButton()->click();
    m_bed->events.press();
    m_bed->clock.advance(0.4);
    QVERIFY(controller.isPopupVisible());
    m_bed->events.release();
    controller.presentPopup(m_folder);
    QVERIFY(!controller.isPopupVisible());
}

void PopupPanelControllerTest::pinningRaisesThePanelAndStopsOutsideClicks() {
    m_bed->settings->setPopupPosition(PopupPosition::Center);
    PopupPanelController& controller = m_bed->controller;
    controller.presentPopup(m_folder);
    GlyphButton* pin = view()->pinButton();
    QVERIFY(pin);
    QCOMPARE(pin->accessibleName(), QStringLiteral("Pin"));

    pin->click();
    QVERIFY(controller.isPopupPinned());
    QCOMPARE(pin->symbol(), QStringLiteral("pin.fill"));
    QCOMPARE(pin->rotation(), 0.0);
    QCOMPARE(pin->accessibleName(), QStringLiteral("Unpin"));
    QCOMPARE(controller.popupPanel()->level(), PopupPanel::Level::Status);
    // The window itself is held at that level, above other helpers' unpinned popups.
    const WindowLevels::WindowId window = controller.popupPanel()->winId();
    QCOMPARE(m_bed->levels.levels, (std::map<WindowLevels::WindowId, int>{{window, 25}}));
    QVERIFY(!controller.hasOutsideClickMonitor());
    m_bed->screens.mouse = {5, 5};
    m_bed->events.click();
    m_bed->clock.advance(0);
    QVERIFY(controller.isPopupVisible());

    pin->click();
    QVERIFY(!controller.isPopupPinned());
    QCOMPARE(pin->rotation(), 45.0);
    QCOMPARE(controller.popupPanel()->level(), PopupPanel::Level::Floating);
    QCOMPARE(m_bed->levels.levels, (std::map<WindowLevels::WindowId, int>{{window, 3}}));
    QCOMPARE(m_bed->events.pressMonitorCount(), std::size_t(1));
    m_bed->events.click();
    m_bed->clock.advance(0);
    QVERIFY(!controller.isPopupVisible());
    QVERIFY(m_bed->levels.levels.empty());

    // Every opening starts unpinned.
    m_bed->clock.advance(1);
    controller.presentPopup(m_folder);
    QVERIFY(!controller.isPopupPinned());
    QVERIFY(!view()->isPinned());
}

void PopupPanelControllerTest::broadcastsCloseOtherHelpersUnpinnedPopupsOnly() {
    PopupPanelController& controller = m_bed->controller;
    const auto broadcast = [&](const QVariant& object) {
        controller.handleClosePopupsNotification({QString(NotificationName::TRCloseNonPinnedPopups), object, {}});
    };
    controller.presentPopup(m_folder);
    broadcast(*m_bed->groupID);
    QVERIFY(controller.isPopupVisible());

    controller.setPopupPinned(true);
    broadcast(QStringLiteral("another helper"));
    QVERIFY(controller.isPopupVisible());

    controller.setPopupPinned(false);
    broadcast(QStringLiteral("another helper"));
    QVERIFY(!controller.isPopupVisible());

    // The main application's broadcast names no helper; a helper closes for it.
    m_bed->clock.advance(1);
    controller.presentPopup(m_folder);
    broadcast(QVariant());
    QVERIFY(!controller.isPopupVisible());

    // In the main application, its own broadcast (no object) is its own.
    PopupTestBed main(QString{});
    main.groupID.reset();
    main.controller.presentPopup(m_folder);
    QVERIFY(main.home.distributedNotifications.posted.last().object.isNull() ||
            main.home.distributedNotifications.posted.last().object.toString().isEmpty());
    main.controller.handleClosePopupsNotification({QString(NotificationName::TRCloseNonPinnedPopups), {}, {}});
    QVERIFY(main.controller.isPopupVisible());
}

void PopupPanelControllerTest::centredPopupShowsThePinAndKeepsItsCentre() {
    m_bed->settings->setPopupPosition(PopupPosition::Center);
    m_bed->screens.frames = {FakeScreens::bottomDockScreen(70), {{1440, 0, 800, 600}, {1440, 0, 800, 600}}};
    m_bed->screens.mouse = {1800, 300};
    PopupPanelController& controller = m_bed->controller;
    controller.presentPopup(m_folder);
    // Centred on the main screen's visible frame, whatever screen the click was on.
    // (The window system places whole points.)
    QVERIFY(QLineF(controller.popupPanel()->frame().center(), QPointF(720, 70 + 830 / 2.0)).length() <= 0.5);
    QCOMPARE(view()->dockEdge(), DockEdge::Bottom);

    // A change of size keeps the centre where it is.
    const QPointF centre = controller.popupPanel()->frame().center();
    const double height = controller.popupPanel()->frame().height();
    m_bed->settings->setPopupShowTitle(false);
    controller.layoutPopupPanel();
    QVERIFY(controller.popupPanel()->frame().height() < height);
    QVERIFY(QLineF(controller.popupPanel()->frame().center(), centre).length() <= 0.5);
    QVERIFY(!view()->pinButton());
    QVERIFY(!view()->closeButton());
}

void PopupPanelControllerTest::placementAimsAtTheOpeningClickAndWritesTheArrowOneTurnLater() {
    PopupPanelController& controller = m_bed->controller;
    m_bed->settings->setPopupArrowOffset(0);
    m_bed->screens.mouse = {40, 30};
    controller.presentPopup(m_folder);
    const QRectF frame = controller.popupPanel()->frame();
    QCOMPARE(frame.x(), 8.0);
    QCOMPARE(frame.y(), 91.0);
    QCOMPARE(view()->dockEdge(), DockEdge::Bottom);
    QCOMPARE(m_bed->dockHeight.cached(), 70.0);

    QCOMPARE(m_bed->settings->popupArrowOffset(), 0.0);
    m_bed->clock.advance(0);
    QCOMPARE(m_bed->settings->popupArrowOffset(), (40 - frame.width() / 2) - 8.0);

    // A re-layout (new settings) keeps aiming at the opening click, not at the mouse now.
    m_bed->screens.mouse = {900, 500};
    m_bed->settings->setPopupIconSize(64);
    controller.layoutPopupPanel();
    QCOMPARE(controller.popupPanel()->frame().x(), 8.0);
    QCOMPARE(controller.absoluteArrowLocation(), QPointF(40, 30));

    // The view is told of a side Dock.
    controller.closePopup();
    m_bed->clock.advance(1);
    m_bed->screens.frames = {{{0, 0, 1440, 900}, {70, 0, 1370, 875}}};
    controller.presentPopup(m_folder);
    QCOMPARE(view()->dockEdge(), DockEdge::Left);
    QCOMPARE(controller.lastDockEdge(), DockEdge::Left);
    QCOMPARE(controller.popupPanel()->frame().x(), 81.0);
}

void PopupPanelControllerTest::aHostDockIsAimedAtOrThePopupIsCentredWhereItCannotTell() {
    PopupTestBed& bed = *m_bed;
    std::optional<DockHost::Geometry> geometry = DockHost::Geometry{DockHost::Edge::Bottom, 48};
    std::optional<DockHost::TilePosition> tile = DockHost::TilePosition{{300, 880}, DockHost::Edge::Bottom};
    PopupPanelController::Services services = bed.services();
    services.hostGeometry = [&geometry] { return geometry; };
    services.tilePosition = [&tile] { return tile; };
    PopupPanelController hosted(services);
    // The dock reserves no edge, and the pointer has left the tile.
    bed.screens.frames = {{{0, 0, 1440, 900}, {0, 0, 1440, 875}}};
    bed.screens.mouse = {900, 500};
    const auto reopen = [&] {
        hosted.closePopup();
        bed.clock.advance(1);
        hosted.presentPopup(m_folder);
    };

    // At the tile the host names (y-down 880 on a 900 high screen), lifted over its icons.
    hosted.presentPopup(m_folder);
    QCOMPARE(hosted.absoluteArrowLocation(), QPointF(300, 20));
    QCOMPARE(hosted.popupPanel()->contentView()->dockEdge(), DockEdge::Bottom);
    QCOMPARE(hosted.popupPanel()->frame().y(), 67 + 19.0);

    // A host that cannot name the tile: the pointer, on X11 still inside the tile just clicked.
    tile.reset();
    geometry = DockHost::Geometry{DockHost::Edge::Left, 48};
    bed.screens.mouse = {30, 500};
    reopen();
    QCOMPARE(hosted.absoluteArrowLocation(), QPointF(30, 500));
    QCOMPARE(hosted.popupPanel()->contentView()->dockEdge(), DockEdge::Left);
    QCOMPARE(hosted.popupPanel()->frame().x(), 48 + 18 + 11.0);

    // A host that cannot tell where its dock is (or with it along the top): centred.
    for (const std::optional<DockHost::Geometry>& unknown :
         {std::optional<DockHost::Geometry>(), std::optional(DockHost::Geometry{DockHost::Edge::Top, 48})}) {
        geometry = unknown;
        reopen();
        QVERIFY(QLineF(hosted.popupPanel()->frame().center(), QPointF(720, 875 / 2.0)).length() <= 0.5);
        QCOMPARE(hosted.popupPanel()->contentView()->dockEdge(), DockEdge::Bottom);
    }

    // A dock that reserves its edge is placed by that edge even so.
    bed.screens.frames = {FakeScreens::bottomDockScreen(70)};
    bed.screens.mouse = {40, 30};
    reopen();
    QCOMPARE(hosted.popupPanel()->frame().y(), 91.0);
}
void PopupPanelControllerTest::openAllOpensEachApplicationOnceAndClosesUnlessPinned() {
    PopupPanelController& controller = m_bed->controller;
    controller.presentPopup(m_folder);
    view()->openAllButton()->click();
    // Four items, two places: each opened once, in the folder's order.
    QCOMPARE(m_bed->workspace.opened.size(), 2);
    QVERIFY(m_bed->workspace.opened[0].startsWith(QStringLiteral(TRELLIN_BUNDLE_DIR)));
    QVERIFY(m_bed->workspace.opened[1].startsWith(QStringLiteral("/nonexistent/Missing.app")));
    QTRY_VERIFY(!controller.isPopupVisible());
    m_bed->workspace.finishOpens();

    // A pinned one stays, and says what did not open.
    m_bed->settings->setPopupPosition(PopupPosition::Center);
    m_bed->clock.advance(1);
    controller.presentPopup(m_folder);
    view()->pinButton()->click();
    view()->openAllButton()->click();
    m_bed->workspace.finishOpens(QStringLiteral("gone"));
    QVERIFY(controller.isPopupVisible());
    QTRY_VERIFY(view()->launchFailureNotice());
    // An empty folder has nothing to open all of.
    controller.closePopup();
    m_bed->clock.advance(1);
    controller.presentPopup(PopupTestBed::folder(0));
    QVERIFY(!view()->openAllButton());
}

// Opened by a script or a shortcut: the pointer is wherever the user left it, no guide to a tile.
void PopupPanelControllerTest::openedWithoutAClickGoesToTheTileItKnowsOrTheCentre() {
    PopupTestBed& bed = *m_bed;
    bed.screens.frames = {FakeScreens::bottomDockScreen(70)};
    bed.screens.mouse = {300, 880};
    const auto centred = [](const PopupPanelController& controller) {
        return QLineF(controller.popupPanel()->frame().center(), QPointF(720, 70 + 830 / 2.0)).length() <= 0.5;
    };
    bed.controller.showPopupWithoutClick(m_folder);
    QVERIFY(bed.controller.isPopupVisible());
    QVERIFY(centred(bed.controller));
    // Once open, it is not opened again over itself.
    const QRectF frame = bed.controller.popupPanel()->frame();
    bed.controller.showPopupWithoutClick(m_folder);
    QCOMPARE(bed.controller.popupPanel()->frame(), frame);

    // A dock that names the folder's tile places it there.
    PopupPanelController::Services services = bed.services();
    services.hostGeometry = [] { return std::optional(DockHost::Geometry{DockHost::Edge::Bottom, 48}); };
    services.tilePosition = [] { return std::optional(DockHost::TilePosition{{300, 880}, DockHost::Edge::Bottom}); };
    bed.screens.mouse = {1200, 30};
    PopupPanelController hosted(services);
    hosted.showPopupWithoutClick(m_folder);
    QCOMPARE(hosted.absoluteArrowLocation(), QPointF(300, 20));
    QVERIFY(!centred(hosted));
    // A click on the tile after that is aimed as ever.
    hosted.closePopup();
    bed.clock.advance(1);
    hosted.presentPopup(m_folder);
    QCOMPARE(hosted.absoluteArrowLocation(), QPointF(300, 20));
}

void PopupPanelControllerTest::inAWaylandSessionOnlyATileTheHostNamesPlacesThePopup() {
    PopupTestBed& bed = *m_bed;
    std::optional<DockHost::Geometry> geometry = DockHost::Geometry{DockHost::Edge::Bottom, 48};
    std::optional<DockHost::TilePosition> tile = DockHost::TilePosition{{300, 880}, DockHost::Edge::Bottom};
    PopupPanelController::Services services = bed.services();
    services.hostGeometry = [&geometry] { return geometry; };
    services.tilePosition = [&tile] { return tile; };
    services.pointerFollowsDockClicks = false;
    PopupPanelController hosted(services);
    // The pointer Xwayland last saw, far from the shell's dock; the dock reserves its edge.
    bed.screens.frames = {FakeScreens::bottomDockScreen(70)};
    bed.screens.mouse = {1200, 30};
    const auto reopen = [&] {
        hosted.closePopup();
        bed.clock.advance(1);
        hosted.presentPopup(m_folder);
    };
    const auto centred = [&] {
        return QLineF(hosted.popupPanel()->frame().center(), QPointF(720, 70 + 830 / 2.0)).length() <= 0.5;
    };

    hosted.presentPopup(m_folder);
    QCOMPARE(hosted.absoluteArrowLocation(), QPointF(300, 20));
    QCOMPARE(hosted.popupPanel()->contentView()->dockEdge(), DockEdge::Bottom);
    QVERIFY(!centred());

    // A dock that reserves no edge and tells no geometry of its own (the plain dash) but names the
    // clicked tile and its edge.
    bed.screens.frames = {{{0, 0, 1440, 900}, {0, 0, 1440, 900}}};
    geometry.reset();
    tile = DockHost::TilePosition{{40, 450}, DockHost::Edge::Left};
    reopen();
    QCOMPARE(hosted.absoluteArrowLocation(), QPointF(40, 450));
    QCOMPARE(hosted.popupPanel()->contentView()->dockEdge(), DockEdge::Left);

    // No tile named: the stale pointer and the reserved edge are no guide, whatever the geometry.
    bed.screens.frames = {FakeScreens::bottomDockScreen(70)};
    tile.reset();
    for (const std::optional<DockHost::Geometry>& known :
         {std::optional<DockHost::Geometry>(), std::optional(DockHost::Geometry{DockHost::Edge::Bottom, 48})}) {
        geometry = known;
        reopen();
        QVERIFY(centred());
        QCOMPARE(hosted.popupPanel()->contentView()->dockEdge(), DockEdge::Bottom);
    }
}

void PopupPanelControllerTest::inAWaylandSessionGoingElsewhereClosesAnUnpinnedPopup() {
    PopupTestBed& bed = *m_bed;
    PopupPanelController::Services services = bed.services();
    services.outsideClicksHeard = false;
    PopupPanelController wayland(services);
    QWidget elsewhere;
    elsewhere.setGeometry(0, 0, 50, 50);
    const auto goElsewhere = [&] {
        elsewhere.show();
        elsewhere.activateWindow();
        QTRY_VERIFY(elsewhere.isActiveWindow());
        bed.clock.advance(0);
    };
    const auto comeBack = [&](PopupPanelController& controller) {
        controller.popupPanel()->activateWindow();
        QTRY_VERIFY(controller.popupPanel()->isActiveWindow());
    };

    wayland.presentPopup(m_folder);
    QTRY_VERIFY(wayland.popupPanel()->isActiveWindow());
    wayland.setPopupPinned(true);
    goElsewhere();
    QVERIFY(wayland.isPopupVisible());
    comeBack(wayland);
    wayland.setPopupPinned(false);
    goElsewhere();
    QVERIFY(!wayland.isPopupVisible());

    // Where clicks outside are heard, they close it, not the window manager's focus.
    bed.controller.presentPopup(m_folder);
    comeBack(bed.controller);
    goElsewhere();
    QVERIFY(bed.controller.isPopupVisible());
}

void PopupPanelControllerTest::launchesCloseAnUnpinnedPopupOnlyWhenTheyWork() {
    PopupPanelController& controller = m_bed->controller;
    controller.presentPopup(m_folder);
    PopupAppIconView* cell = view()->cells().first();
    QCOMPARE(cell->accessibleName(), m_folder.apps.first().name);

    // A failed launch changes nothing.
    cell->click();
    QCOMPARE(m_bed->workspace.opened.size(), 1);
    QVERIFY(m_bed->workspace.opened.first().startsWith(QStringLiteral(TRELLIN_BUNDLE_DIR)));
    m_bed->workspace.finishOpens(QStringLiteral("no such file"));
    m_bed->clock.advance(0);
    QVERIFY(controller.isPopupVisible());

    // A launch that works closes the popup one turn after it is reported.
    cell->click();
    m_bed->workspace.finishOpens();
    QVERIFY(controller.isPopupVisible());
    m_bed->clock.advance(0);
    QVERIFY(!controller.isPopupVisible());

    // A pinned popup stays open.
    m_bed->clock.advance(1);
    m_bed->settings->setPopupPosition(PopupPosition::Center);
    controller.presentPopup(m_folder);
    view()->pinButton()->click();
    view()->cells().last()->click();
    m_bed->workspace.finishOpens();
    m_bed->clock.advance(0);
    QVERIFY(controller.isPopupVisible());
}

void PopupPanelControllerTest::aFailedLaunchIsToldUntilTheNextOneOrAFewSeconds() {
    PopupPanelController& controller = m_bed->controller;
    controller.presentPopup(m_folder);
    const QRectF before = controller.popupPanel()->frame();
    const QList<PopupAppIconView*> cells = view()->cells();
    // Where a cell is in the view: the cells sit in the grid's scrolling region.
    const auto inView = [&](const QWidget* cell) { return QRect(cell->mapTo(view(), QPoint()), cell->size()); };
    const int gridFromBottom = view()->height() - inView(cells.first()).bottom();
    const auto fail = [&](int cell) {
        view()->cells().at(cell)->click();
        m_bed->workspace.finishOpens(QStringLiteral("no such file"));
    };

    // Said in the popup, above the grid: over the Dock the card grows upward and the icons stay.
    fail(1);
    const PopupNotice* notice = view()->launchFailureNotice();
    QVERIFY(notice && notice->isVisible());
    QCOMPARE(notice->text(), QStringLiteral("Couldn’t open “Missing\u00A01”."));
    QVERIFY(notice->geometry().bottom() < inView(cells.first()).top());
    QVERIFY(controller.isPopupVisible());
    const QRectF grown = controller.popupPanel()->frame();
    QCOMPARE(grown.topLeft(), before.topLeft()); // in y-up coordinates the origin is the bottom-left corner
    QVERIFY(grown.height() > before.height() + notice->height());
    QCOMPARE(view()->height() - inView(cells.first()).bottom(), gridFromBottom);
    QCOMPARE(m_bed->home.console.lines.last(),
             QStringLiteral("[PopupAppIconView] Failed to launch Missing 1: no such file"));
    // Screen readers take it as an alert with the same words. (The alert event itself needs a
    // platform with an accessibility bridge; the offscreen one has none.)
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(const_cast<PopupNotice*>(notice));
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::AlertMessage);
    QCOMPARE(accessible->text(QAccessible::Name), notice->text());

    // In the other language it says the same.
    m_bed->settings->setLanguage(AppLanguage::Ukrainian);
    QCOMPARE(view()->launchFailureNotice()->text(), QStringLiteral("Не вдалося відкрити «Missing\u00A01»."));
    m_bed->settings->setLanguage(AppLanguage::English);

    // It goes by itself after a few seconds, and the card with it.
    m_bed->clock.advance(FolderPopupView::launchFailureNoticeDuration - 0.1);
    QVERIFY(view()->launchFailureNotice());
    m_bed->clock.advance(0.2);
    QVERIFY(!view()->launchFailureNotice());
    QCOMPARE(controller.popupPanel()->frame(), before);

    // Or at the next launch, which here works and closes the popup.
    fail(1);
    QVERIFY(view()->launchFailureNotice());
    view()->cells().at(0)->click();
    QVERIFY(!view()->launchFailureNotice());
    m_bed->workspace.finishOpens();
    m_bed->clock.advance(0);
    QVERIFY(!controller.isPopupVisible());
    QCOMPARE(m_bed->clock.pendingCount(), 0); // the notice's own timer went with it

    // A launch that works says nothing, also where the popup stays open.
    m_bed->clock.advance(1);
    m_bed->settings->setPopupPosition(PopupPosition::Center);
    controller.presentPopup(m_folder);
    view()->pinButton()->click();
    view()->cells().first()->click();
    m_bed->workspace.finishOpens();
    m_bed->clock.advance(0);
    QVERIFY(controller.isPopupVisible() && !view()->launchFailureNotice());
}

void PopupPanelControllerTest::keyboardMovesAcrossTheGridLaunchesAndCloses() {
    m_bed->settings->setPopupColumns(3);
    PopupPanelController& controller = m_bed->controller;
    controller.presentPopup(m_folder);
    QVERIFY(QTest::qWaitForWindowActive(controller.popupPanel()));
    const QList<PopupAppIconView*> cells = view()->cells();
    QTRY_VERIFY(cells[0]->hasFocus());
    QCOMPARE(controller.popupPanel()->accessibleName(), QStringLiteral("Folder Work"));

    // Four apps in three columns: the arrows wrap by row.
    const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    press(Qt::Key_Left);
    QVERIFY(cells[3]->hasFocus());
    press(Qt::Key_Right);
    QVERIFY(cells[0]->hasFocus());
    press(Qt::Key_Up);
    QVERIFY(cells[3]->hasFocus());
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    press(Qt::Key_Down);
    QVERIFY(cells[3]->hasFocus()); // the second row has no third column: its last cell
    press(Qt::Key_Up);
    QVERIFY(cells[0]->hasFocus());

    // Tab reaches "Open all", the close button (no pin above the Dock) and comes back to the grid.
    press(Qt::Key_Tab);
    QVERIFY(view()->openAllButton()->hasFocus());
    QCOMPARE(view()->openAllButton()->accessibleName(), QStringLiteral("Open All"));
    press(Qt::Key_Tab);
    QVERIFY(view()->closeButton()->hasFocus());
    QCOMPARE(view()->closeButton()->accessibleName(), QStringLiteral("Close"));
    press(Qt::Key_Tab);
    QVERIFY(cells[0]->hasFocus());

    press(Qt::Key_Return);
    QTRY_COMPARE(m_bed->workspace.opened.size(), 1);
    QVERIFY(m_bed->workspace.opened.first().startsWith(QStringLiteral(TRELLIN_BUNDLE_DIR)));
    m_bed->workspace.finishOpens();
    m_bed->clock.advance(0);
    QVERIFY(!controller.isPopupVisible());

    m_bed->clock.advance(1);
    controller.presentPopup(m_folder);
    QVERIFY(QTest::qWaitForWindowActive(controller.popupPanel()));
    press(Qt::Key_Escape);
    QVERIFY(!controller.isPopupVisible());

    // In Ukrainian the names follow.
    m_bed->settings->setLanguage(AppLanguage::Ukrainian);
    m_bed->clock.advance(1);
    controller.presentPopup(m_folder);
    QCOMPARE(view()->accessibleName(), QStringLiteral("Тека Work"));
    QCOMPARE(view()->closeButton()->accessibleName(), QStringLiteral("Закрити"));
}

void PopupPanelControllerTest::anOpenPinnedPopupFollowsTheTheme() {
    m_bed->settings->setPopupPosition(PopupPosition::Center);
    PopupPanelController& controller = m_bed->controller;
    // What the header's glyph and close button look like in a popup opened in a theme.
    const auto header = [&] {
        return std::pair{view()->findChild<FolderGlyph*>()->grab().toImage(), view()->closeButton()->grab().toImage()};
    };
    const auto openedIn = [&](AppThemeMode theme) {
        controller.closePopup();
        m_bed->clock.advance(1);
        m_bed->settings->setAppTheme(theme);
        controller.presentPopup(m_folder);
        return header();
    };
    const auto dark = openedIn(AppThemeMode::Dark);
    const auto light = openedIn(AppThemeMode::Light);
    QVERIFY(dark.first != light.first && dark.second != light.second);

    for (const AppThemeMode from : {AppThemeMode::Dark, AppThemeMode::Light}) {
        const AppThemeMode to = from == AppThemeMode::Dark ? AppThemeMode::Light : AppThemeMode::Dark;
        openedIn(from);
        view()->pinButton()->click();
        // The theme changes while the pinned popup stays open, as the helper reloads its settings.
        m_bed->settings->setAppTheme(to);
        QVERIFY(controller.isPopupVisible() && controller.isPopupPinned() && view()->isPinned());
        QCOMPARE(view()->pinButton()->symbol(), QStringLiteral("pin.fill"));
        QCOMPARE(controller.popupPanel()->appearance(), colorSchemeFor(to));
        QVERIFY(header() == (to == AppThemeMode::Light ? light : dark));
    }
}

void PopupPanelControllerTest::aDraggedPopupWorksWhereItWasPut() {
    PopupPanelController& controller = m_bed->controller;
    controller.presentPopup(m_folder);
    PopupPanel* panel = controller.popupPanel();
    const QRectF placed = panel->frame();

    // Dragged 300 points left and 200 up (the window system counts y downward).
    panel->move(panel->pos() + QPoint(-300, -200));
    const QRectF dragged = placed.translated(-300, 200);
    QCOMPARE(panel->frame(), dragged);

    // Clicks count where the panel is now, not where it was placed.
    m_bed->screens.mouse = dragged.center();
    m_bed->events.click();
    m_bed->clock.advance(0);
    QVERIFY(controller.isPopupVisible());

    // A new layout (another icon size) keeps it where the user put it, over the same point.
    m_bed->settings->setPopupIconSize(64);
    controller.layoutPopupPanel();
    QVERIFY(panel->frame().width() > dragged.width());
    QCOMPARE(panel->frame().y(), dragged.y());
    QVERIFY(qAbs(panel->frame().center().x() - dragged.center().x()) <= 0.5);

    m_bed->screens.mouse = placed.center();
    m_bed->events.click();
    m_bed->clock.advance(0);
    QVERIFY(!controller.isPopupVisible());

    // The next opening is placed at its tile again.
    m_bed->settings->setPopupIconSize(52);
    m_bed->clock.advance(1);
    m_bed->screens.mouse = {720, 30};
    controller.presentPopup(m_folder);
    QCOMPARE(controller.popupPanel()->frame(), placed);
}

QTEST_MAIN(PopupPanelControllerTest)
#include "PopupPanelControllerTest.moc"
