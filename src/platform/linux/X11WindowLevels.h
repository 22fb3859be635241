#pragma once

#include "platform/WindowLevels.h"

#include <QObject>

#include <map>

struct xcb_connection_t;
class QSocketNotifier;

// Window levels on X11, where a window manager knows of one "above" layer only. Each window
// carries its level in a property of its own; while this process has windows with levels, it
// watches the stacking order the window manager publishes (or, without one, the root window's
// children) and raises a window of its own that a window of a lower level has come to cover.
// The watching has a connection of its own, open only while there is something to keep.
class X11WindowLevels final : public QObject, public WindowLevels {
    Q_OBJECT
public:
    explicit X11WindowLevels(QObject* parent = nullptr);
    ~X11WindowLevels() override;

    void setLevel(WindowId window, int level) override;
    void forget(WindowId window) override;

private:
    bool connect();
    void disconnect();
    void readEvents();
    // Raises each window of ours that has a window of a lower level above it.
    void keepLevels();

    xcb_connection_t* m_connection = nullptr;
    QSocketNotifier* m_notifier = nullptr;
    quint32 m_root = 0;
    quint32 m_levelAtom = 0;
    quint32 m_stackingAtom = 0;
    bool m_hasStackingList = false;
    std::map<WindowId, int> m_windows;
};
