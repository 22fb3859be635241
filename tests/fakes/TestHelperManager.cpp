#include "TestHelperManager.h"

#include "FakeSigner.h"
#include "TestHome.h"
#include "VirtualClock.h"

TestHelperManager::TestHelperManager(TestHome& home, VirtualClock& clock, FolderDockTiles* hostTiles)
    : app(home.makeBundle("Trellin.app",
                          {{"CFBundleIdentifier", TestHome::bundleIdentifier}, {"CFBundleExecutable", "Trellin"}}))
    , launchLog(clock)
    , dock(home.path("Library/Preferences"), "com.apple.dock")
    , manager(std::make_unique<HelperManager>(HelperManager::Services{
          .clock = clock,
          .scheduler = clock,
          .workspace = workspace,
          .distributedNotifications = home.distributedNotifications,
          .localNotifications = home.localNotifications,
          .systemLog = log,
          .dockDomain = dock,
          .mainBundle = app,
          .launchLog = launchLog,
          .applicationSupportDirectory = home.applicationSupport(),
          .dockPreferencesPath = dock.filePath(),
          .signingTool = makeFakeSigner(home.path()),
          .hostTiles = hostTiles,
      })) {}
