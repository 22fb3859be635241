#pragma once

#include "platform/EventMonitor.h"

#include <map>

// Global mouse monitors the test presses and releases through; `refuse` plays a platform that
// cannot watch the screen.
class FakeEventMonitor final : public EventMonitor {
public:
    struct Monitor {
        bool onRelease;
        MouseButtons buttons;
        Handler handler;
    };

    std::optional<Token> addGlobalMouseDownMonitor(MouseButtons buttons, Handler handler) override {
        return add({false, buttons, std::move(handler)});
    }
    std::optional<Token> addGlobalMouseUpMonitor(MouseButtons buttons, Handler handler) override {
        return add({true, buttons, std::move(handler)});
    }
    void removeMonitor(Token token) override { monitors.erase(token); }

    void press(MouseButton button = MouseButton::Left) { deliver(false, button); }
    void release(MouseButton button = MouseButton::Left) { deliver(true, button); }
    // A press and its release at the same moment.
    void click(MouseButton button = MouseButton::Left) {
        press(button);
        release(button);
    }
    // The monitors of mouse-downs.
    std::size_t pressMonitorCount() const {
        std::size_t count = 0;
        for (const auto& [token, monitor] : monitors)
            count += !monitor.onRelease;
        return count;
    }

    std::map<Token, Monitor> monitors;
    bool refuse = false;

private:
    std::optional<Token> add(Monitor monitor) {
        if (refuse)
            return std::nullopt;
        monitors.emplace(++m_last, std::move(monitor));
        return m_last;
    }
    void deliver(bool release, MouseButton button) {
        const auto copy = monitors;
        for (const auto& [token, monitor] : copy)
            if (monitor.onRelease == release && (monitor.buttons & unsigned(button)))
                monitor.handler();
    }

    Token m_last = 0;
};
