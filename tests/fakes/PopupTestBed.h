#pragma once

#include "FakeEventMonitor.h"
#include "FakeScreens.h"
#include "FakeWindowLevels.h"
#include "FakeWorkspace.h"
#include "TestSettings.h"
#include "VirtualClock.h"
#include "model/DockHeight.h"
#include "platform/FileIconCache.h"
#include "popup/PopupPanelController.h"
#include "settings/Localization.h"

#include <QUuid>

// One helper's popup with everything around it faked: screens, mouse, clicks, time, launches and
// the other helpers' broadcasts. Icons come from the real bundles.
struct PopupTestBed {
    explicit PopupTestBed(QString groupID = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper())
        : settings(makeTestSettings(home, clock))
        , localization(QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/Resources"),
                       [this] { return settings->language(); })
        , groupID(std::move(groupID))
        , popupEnvironment(environment())
        , controller(services()) {}

    // What the bed's controller is given; a test may change some before making one of its own.
    PopupPanelController::Services services() {
        return {
            .clock = clock,
            .scheduler = clock,
            .distributedNotifications = home.distributedNotifications,
            .screens = screens,
            .eventMonitor = events,
            .windowLevels = levels,
            .dockHeight = dockHeight,
            .dockSizes = [this] { return dock; },
            .currentGroupID = [this] { return this->groupID; },
            .environment = popupEnvironment,
        };
    }

    PopupEnvironment environment() {
        return {.settings = *settings,
                .localization = localization,
                .workspace = workspace,
                .scheduler = clock,
                .icons = icons,
                .translucentWindows = screens.translucent};
    }

    // A folder of `count` applications, alternately the built bundle and a missing one.
    static AppFolder folder(int count, const QString& name = QStringLiteral("Work")) {
        AppFolder folder(QUuid::createUuid(), name, QStringLiteral("folder.fill"), 0);
        for (int i = 0; i < count; ++i)
            folder.apps.append(
                {QUuid::createUuid(), i % 2 ? QStringLiteral("Missing %1").arg(i) : QStringLiteral("Trellin %1").arg(i),
                 QStringLiteral("app.trellin.Trellin"),
                 AppItem::fileURLForPath(
                     i % 2 ? QStringLiteral("/nonexistent/Missing.app") : QStringLiteral(TRELLIN_BUNDLE_DIR), true)});
        return folder;
    }

    TestHome home;
    VirtualClock clock;
    std::unique_ptr<AppSettings> settings;
    Localization localization;
    FakeScreens screens;
    FakeEventMonitor events;
    FakeWindowLevels levels;
    FakeWorkspace workspace;
    FileIconCache icons;
    DockHeight dockHeight;
    PopupPlacement::DockSizes dock{48.0, std::nullopt, false};
    std::optional<QString> groupID;
    // What views built by a test draw with.
    PopupEnvironment popupEnvironment;
    PopupPanelController controller;
};
