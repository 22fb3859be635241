#pragma once

#include "platform/EventMonitor.h"

#include <QObject>

#include <map>

class QSocketNotifier;

// Mouse-downs and mouse-ups anywhere on an X11 screen, from XInput 2 raw button events selected on the root
// window of a connection of our own: the server reports them to every client that asks,
// whichever window the click lands in and whoever grabs the pointer. Without X11 or XInput 2.1
// a monitor cannot be had.
class XInputEventMonitor final : public QObject, public EventMonitor {
    Q_OBJECT
public:
    explicit XInputEventMonitor(QObject* parent = nullptr);
    ~XInputEventMonitor() override;

    std::optional<Token> addGlobalMouseDownMonitor(MouseButtons buttons, Handler handler) override;
    std::optional<Token> addGlobalMouseUpMonitor(MouseButtons buttons, Handler handler) override;
    void removeMonitor(Token token) override;

private:
    struct Monitor {
        bool onRelease;
        MouseButtons buttons;
        Handler handler;
    };

    std::optional<Token> addMonitor(Monitor monitor);
    bool startListening();
    void selectRawButtons(bool selected);
    void readEvents();

    std::map<Token, Monitor> m_monitors;
    Token m_lastToken = 0;
    int m_opcode = -1; // the extension's major opcode once it is known to be there
    QSocketNotifier* m_notifier = nullptr;
};
