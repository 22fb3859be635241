#pragma once

#include "NavigationPage.h"

#include <QSizeF>

#include <optional>

// The main window's sizes: what each page asks for. All sizes are in points; "inset" is the part of the window's
// content that its title bar covers.
namespace MainWindowSizing {

inline constexpr QSizeF preferredFolderListSize{560, 521};
inline constexpr double minimumWidth = 540;
inline constexpr double folderListMinimumFrameHeight = 550;
inline constexpr double settingsMinimumFrameHeight = 260;
// Room a settings page needs around its content: the title bar, the tabs and margins.
inline constexpr double settingsPageChrome = 120;
// Switching between two settings tabs waits this long before resizing, so the highlight settles first.
inline constexpr double settingsTabResizeDelay = 0.2;

// What sizing a page does to the window.
struct PageSizing {
    double minimumFrameHeight = settingsMinimumFrameHeight;
    // The new frame, and the lock that keeps it; none: the frame stays and nothing is locked.
    std::optional<QSizeF> frame;
};

// `currentContentWidth` is the window's content width now, `measuredHeight` a settings page's natural
// content height (none before it was measured), `storedFolderListSize` the folder list's size.
PageSizing sizingFor(NavigationPage page, double currentContentWidth, std::optional<double> measuredHeight,
                     const QSizeF& storedFolderListSize, double titleBarInset);

} // namespace MainWindowSizing
