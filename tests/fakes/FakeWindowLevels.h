#pragma once

#include "platform/WindowLevels.h"

#include <map>

// The levels windows were given, by window.
class FakeWindowLevels final : public WindowLevels {
public:
    void setLevel(WindowId window, int level) override { levels[window] = level; }
    void forget(WindowId window) override { levels.erase(window); }

    std::map<WindowId, int> levels;
};
