#pragma once

#include <QtGlobal>

enum class ActivationPolicy {
    Regular,   // a Dock icon
    Accessory, // no Dock icon; the menu-bar extra stands for the application
};

// The running application object as the delegate sees it.
class Application {
public:
    using WindowId = quintptr; // 0: no window

    virtual ~Application() = default;

    virtual void setActivationPolicy(ActivationPolicy policy) = 0;
    virtual ActivationPolicy activationPolicy() const = 0;

    // Orders the first window out when there is one.
    virtual void orderOutFirstWindow() = 0;

    virtual WindowId keyWindow() const = 0;
    // Brings the window to the front when it still exists and is visible.
    virtual void orderFrontIfVisible(WindowId window) = 0;
};
