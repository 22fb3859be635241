#pragma once

#include <QByteArray>
#include <QObject>

// What a dock sees of this process's windows on X11. Each window shown carries `windowClass` as
// its WM_CLASS instance and class, the text the process's desktop entry names in StartupWMClass,
// so that a dock matches the window to that entry and to no other. With `keepOffTaskbars` the
// windows also ask to be left out of taskbars and pagers (_NET_WM_STATE_SKIP_TASKBAR and
// _NET_WM_STATE_SKIP_PAGER): a helper's popup is part of its folder's tile, not an application
// window of its own.
//
// Set on the toolkit's own connection as each window is about to be mapped, every time, since a
// window manager drops a withdrawn window's state. Nothing goes into the environment, so programs
// this process launches inherit none of it.
class X11WindowIdentity final : public QObject {
    Q_OBJECT
public:
    // Applies to every window of the application from now on; does nothing off X11.
    X11WindowIdentity(const QString& windowClass, bool keepOffTaskbars, QObject* parent = nullptr);
    ~X11WindowIdentity() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(quint32 window) const;

    QByteArray m_windowClass;
    bool m_keepOffTaskbars;
};
