#pragma once

#include "HostDesktop.h"

#include <QJsonValue>
#include <QList>
#include <QRect>
#include <QStringList>

#include <optional>

// The real GNOME Shell with dash-to-dock, as the X11 window manager of a HostDesktop, or as its
// headless Wayland compositor. A test-only extension puts it in unsafe mode, so the test reads the
// dock's icons and the windows through Eval, moves and clicks a virtual pointer of the shell (no X
// client reaches the shell's own dock on Wayland) and takes screenshots as the shell draws them.
class GnomeShellHost {
public:
    // One icon the dock shows: its desktop entry id, where it stands, and the icon its entry names
    // as the shell read it (a file's path, or a theme name).
    struct DashIcon {
        QString id;
        QRect rect;
        QString icon;
    };
    // A window the shell manages, as it places it: `rect` is where the program's own drawing stands,
    // any title bar the shell adds left out.
    struct Window {
        QString title;
        QString wmClass;
        QRect rect;
        bool isX11 = false;
    };

    enum class Session { X11, Wayland };

    // X11: the window manager of the desktop's X server. Wayland: a headless compositor of its
    // own, whose Xwayland the desktop's programs are given once it runs.
    explicit GnomeShellHost(HostDesktop& desktop, Session session = Session::X11)
        : m_desktop(desktop)
        , m_session(session) {}

    // Starts the shell with dash-to-dock fixed at the bottom; true once it answers Eval with the
    // dock shown and the overview closed, and on Wayland once its Xwayland answers too (the
    // desktop's programs are given its displays).
    bool start();

    // What the script returns, parsed from the JSON the shell answers with; none when the shell
    // refuses or the script throws.
    std::optional<QJsonValue> eval(const QString& script) const;
    QList<DashIcon> dashIcons() const;
    std::optional<DashIcon> dashIcon(const QString& entryId) const;
    // The whole screen as the shell draws it, kept at `path`.
    QImage screenshot(const QString& path) const;

    // GSettings org.gnome.shell favorite-apps, as the shell holds it.
    std::optional<QStringList> favourites() const;
    // As the dock's "Pin to Dash" does; false when the shell does not know the entry (yet).
    bool pin(const QString& entryId);
    // As the dock's "Unpin" does.
    bool unpin(const QString& entryId);
    // Switches on an extension the shell found at its start, as the Extensions application does;
    // true once the shell runs it.
    bool enableExtension(const QString& uuid);
    // A dash-to-dock setting, as its preferences would set it.
    bool setDockSetting(const QString& key, const QString& value);
    bool click(const QString& entryId) const;
    // A press and release of the first button at `point`, in screen pixels.
    bool clickAt(QPoint point) const;
    bool moveTo(QPoint point) const;

    // The windows shown now, bottom to top.
    QList<Window> windows() const;
    std::optional<Window> windowTitled(const QString& title) const;
    // The first monitor's area that no panel or dock reserves, as windows are placed in it.
    QRect workArea() const;

private:
    bool startXwaylandDisplays();
    bool pointerTo(QPoint point) const;

    HostDesktop& m_desktop;
    Session m_session;
};
