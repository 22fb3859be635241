#pragma once

#include <QtGlobal>

#include <functional>
#include <optional>

// The mouse buttons a global monitor hears.
enum class MouseButton : unsigned {
    Left = 1u << 0,
    Right = 1u << 1,
};
using MouseButtons = unsigned;

constexpr MouseButtons operator|(MouseButton a, MouseButton b) {
    return unsigned(a) | unsigned(b);
}

// Mouse-downs and mouse-ups anywhere on the screen, those delivered to other programs included.
class EventMonitor {
public:
    using Token = quint64;
    using Handler = std::function<void()>;

    virtual ~EventMonitor() = default;

    // Calls `handler` on the main thread at each mouse-down of the buttons; none when the platform
    // cannot watch the whole screen.
    virtual std::optional<Token> addGlobalMouseDownMonitor(MouseButtons buttons, Handler handler) = 0;
    // The same for each release of one of the buttons.
    virtual std::optional<Token> addGlobalMouseUpMonitor(MouseButtons buttons, Handler handler) = 0;
    // Stops a monitor; an unknown token is ignored.
    virtual void removeMonitor(Token token) = 0;
};
