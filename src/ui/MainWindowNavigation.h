#pragma once

#include "NavigationPage.h"

#include <optional>

// The page the next shown main window must switch to: set by whoever asks for the window, taken by
// the window when it is told to navigate.
class MainWindowNavigation {
public:
    void setPendingDestination(NavigationPage page) { m_pendingDestination = page; }
    const std::optional<NavigationPage>& pendingDestination() const { return m_pendingDestination; }
    std::optional<NavigationPage> takePendingDestination() {
        std::optional<NavigationPage> page = m_pendingDestination;
        m_pendingDestination.reset();
        return page;
    }

private:
    std::optional<NavigationPage> m_pendingDestination;
};
