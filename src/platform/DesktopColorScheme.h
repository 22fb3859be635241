#pragma once

#include <functional>

// What the desktop asks applications to look like.
enum class DesktopAppearance { NoPreference, Dark, Light };

// The desktop's light-or-dark preference, for a theme that follows the system.
class DesktopColorScheme {
public:
    virtual ~DesktopColorScheme() = default;

    virtual DesktopAppearance appearance() const = 0;
    // `handler` runs after every change of the preference.
    virtual void observe(std::function<void()> handler) = 0;
};
