#pragma once

class AppSettings;
class FileIconCache;
class Localization;
class Scheduler;
class Workspace;

// What the popup's views draw with and act through, shared by every opening.
struct PopupEnvironment {
    AppSettings& settings;
    const Localization& localization;
    Workspace& workspace;
    Scheduler& scheduler;
    FileIconCache& icons;
    // False where the window system cannot show translucent windows: the view then fills its
    // card opaquely and the panel cuts its outline out.
    bool translucentWindows = true;
};
