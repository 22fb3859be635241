#pragma once

#include "platform/EventMonitor.h"

#include <map>

// A global mouse-down monitor the test clicks through; `refuse` plays a platform that cannot.
class FakeEventMonitor final : public EventMonitor {
public:
    std::optional<Token> addGlobalMouseDownMonitor(MouseDownMask mask, Handler handler) override {
        if (refuse)
            return std::nullopt;
        monitors.emplace(++m_last, std::make_pair(mask, std::move(handler)));
        return m_last;
    }
    void removeMonitor(Token token) override { monitors.erase(token); }

    void click(MouseDown button = MouseDown::Left) {
        const auto copy = monitors;
        for (const auto& [token, monitor] : copy)
            if (monitor.first & unsigned(button))
                monitor.second();
    }

    std::map<Token, std::pair<MouseDownMask, Handler>> monitors;
    bool refuse = false;

private:
    Token m_last = 0;
};
