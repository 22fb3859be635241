#pragma once

#include "TestHome.h"
#include "settings/AppSettings.h"

#include <memory>

// The settings object of the process that lives in a test home; its delayed writes wait on `scheduler`.
// `desktop`, when given, is where the `system` theme takes its light or dark from.
inline std::unique_ptr<AppSettings> makeTestSettings(TestHome& home, Scheduler& scheduler,
                                                     DesktopColorScheme* desktop = nullptr) {
    return std::make_unique<AppSettings>(AppSettings::Services{
        .scheduler = scheduler,
        .defaults = *home.defaults,
        .notifications = home.localNotifications,
        .distributedNotifications = home.distributedNotifications,
        .loginItem = home.loginItem,
        .bundleIdentifier = TestHome::bundleIdentifier,
        .homeDirectory = home.path(),
        .foldersFilePath = home.foldersFile(),
        .desktopColorScheme = desktop,
    });
}
