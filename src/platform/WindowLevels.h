#pragma once

#include <QtGlobal>

// How high windows float, across all of this program's processes: a window of a higher level
// stays above every window of a lower one, whichever process shows either. Windows that were
// given no level (other programs' among them) are left where they are.
class WindowLevels {
public:
    using WindowId = quintptr; // the window system's id of a shown window

    virtual ~WindowLevels() = default;

    // Gives a shown window its level, or a new one.
    virtual void setLevel(WindowId window, int level) = 0;
    // The window goes away: it is no longer kept anywhere.
    virtual void forget(WindowId window) = 0;
};
