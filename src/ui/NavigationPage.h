#pragma once

// The main window's pages: the folder list, then the settings pages in their tab order.
enum class NavigationPage { AllFolders, General, Tile, Popup, About };

constexpr bool isSettingsPage(NavigationPage page) {
    return page != NavigationPage::AllFolders;
}
