#include "XInputEventMonitor.h"

#include "X11Display.h"

#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <vector>

namespace {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 3;

} // namespace

XInputEventMonitor::XInputEventMonitor(QObject* parent)
    : QObject(parent) {}

XInputEventMonitor::~XInputEventMonitor() {
    if (!m_monitors.empty())
        selectRawButtons(false);
}

bool XInputEventMonitor::startListening() {
    if (m_opcode >= 0)
        return true;
    Display* display = X11Display::shared();
    if (!display)
        return false;
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &firstEvent, &firstError))
        return false;
    // Raw events reach a client that does not grab the pointer only from version 2.1 on.
    int major = 2;
    int minor = 1;
    if (XIQueryVersion(display, &major, &minor) != Success || (major == 2 && minor < 1))
        return false;
    m_opcode = opcode;
    m_notifier = new QSocketNotifier(ConnectionNumber(display), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &XInputEventMonitor::readEvents);
    return true;
}

void XInputEventMonitor::selectRawButtons(bool selected) {
    Display* display = X11Display::shared();
    if (!display)
        return;
    std::vector<unsigned char> bits(XIMaskLen(XI_LASTEVENT), 0);
    if (selected) {
        XISetMask(bits.data(), XI_RawButtonPress);
        XISetMask(bits.data(), XI_RawButtonRelease);
    }
    XIEventMask mask{XIAllMasterDevices, int(bits.size()), bits.data()};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XFlush(display);
}

std::optional<EventMonitor::Token> XInputEventMonitor::addGlobalMouseDownMonitor(MouseButtons buttons,
                                                                                 Handler handler) {
    return addMonitor({false, buttons, std::move(handler)});
}

std::optional<EventMonitor::Token> XInputEventMonitor::addGlobalMouseUpMonitor(MouseButtons buttons, Handler handler) {
    return addMonitor({true, buttons, std::move(handler)});
}

std::optional<EventMonitor::Token> XInputEventMonitor::addMonitor(Monitor monitor) {
    if (!startListening())
        return std::nullopt;
    if (m_monitors.empty())
        selectRawButtons(true);
    const Token token = ++m_lastToken;
    m_monitors.emplace(token, std::move(monitor));
    return token;
}

void XInputEventMonitor::removeMonitor(Token token) {
    if (m_monitors.erase(token) && m_monitors.empty())
        selectRawButtons(false);
}

void XInputEventMonitor::readEvents() {
    Display* display = X11Display::shared();
    struct Event {
        bool release;
        MouseButton button;
    };
    std::vector<Event> events;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != m_opcode || !XGetEventData(display, cookie))
            continue;
        if (cookie->evtype == XI_RawButtonPress || cookie->evtype == XI_RawButtonRelease) {
            const bool release = cookie->evtype == XI_RawButtonRelease;
            const int button = static_cast<const XIRawEvent*>(cookie->data)->detail;
            if (button == kLeftButton)
                events.push_back({release, MouseButton::Left});
            else if (button == kRightButton)
                events.push_back({release, MouseButton::Right});
        }
        XFreeEventData(display, cookie);
    }
    // A handler may add or remove monitors, so each event works on a copy.
    for (const Event& event : events) {
        std::vector<Handler> handlers;
        for (const auto& [token, monitor] : m_monitors) {
            if (monitor.onRelease == event.release && (monitor.buttons & unsigned(event.button)))
                handlers.push_back(monitor.handler);
        }
        for (const Handler& handler : handlers)
            handler();
    }
}
