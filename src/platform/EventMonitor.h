#pragma once

#include <QtGlobal>

#include <functional>
#include <optional>

// Which mouse-downs a global monitor hears.
enum class MouseDown : unsigned {
    Left = 1u << 0,
    Right = 1u << 1,
};
using MouseDownMask = unsigned;

constexpr MouseDownMask operator|(MouseDown a, MouseDown b) {
    return unsigned(a) | unsigned(b);
}

// Mouse-downs anywhere on the screen, those delivered to other programs included.
class EventMonitor {
public:
    using Token = quint64;
    using Handler = std::function<void()>;

    virtual ~EventMonitor() = default;

    // Calls `handler` on the main thread at each mouse-down of the mask; none when the platform
    // cannot watch the whole screen.
    virtual std::optional<Token> addGlobalMouseDownMonitor(MouseDownMask mask, Handler handler) = 0;
    // Stops a monitor; an unknown token is ignored.
    virtual void removeMonitor(Token token) = 0;
};
