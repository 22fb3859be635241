#pragma once

#include "CapturedSystemLog.h"
#include "FakeWorkspace.h"
#include "helpers/HelperManager.h"
#include "model/HelperLaunchLog.h"
#include "platform/Bundle.h"
#include "platform/linux/PlistPreferenceDomain.h"

#include <memory>

class TestHome;
class VirtualClock;

// The main application's helper manager in a test home: its bundle "Trellin.app", the Dock's
// preferences in the home, a fake signer, and a workspace and system log the test reads.
class TestHelperManager {
public:
    // With `hostTiles`, the folders' tiles are kept in a user's dock instead of the Linux Dock's.
    TestHelperManager(TestHome& home, VirtualClock& clock, FolderDockTiles* hostTiles = nullptr);

    Bundle app;
    FakeWorkspace workspace;
    CapturedSystemLog log;
    HelperLaunchLog launchLog;
    PlistPreferenceDomain dock;
    std::unique_ptr<HelperManager> manager; // a test may drop it alone
};
