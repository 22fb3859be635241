#pragma once

#include <QProcessEnvironment>
#include <QString>

// The graphical session the application runs in, read once at start from the variables the
// session sets: whether it is X11 or Wayland, and whose shell draws it. On Wayland the
// application's own windows still go through Xwayland, where they may place themselves, but the
// pointer seen there says nothing of a click on the shell's dock.
struct DesktopSession {
    enum class Kind { None, X11, Wayland };

    Kind kind = Kind::None;
    // The desktop's own name for people ("GNOME Shell", "KDE Plasma"), else the first name
    // $XDG_CURRENT_DESKTOP gives; empty when it gives none.
    QString shell;

    static DesktopSession detect(const QProcessEnvironment& environment);

    // Whether the pointer the application reads is where a click on the dock was.
    bool pointerFollowsDockClicks() const { return kind != Kind::Wayland; }
    // Whether clicks on any program's windows can be heard (Xwayland shows only its own).
    bool outsideClicksHeard() const { return kind != Kind::Wayland; }
    // For the line the application prints at start: "a Wayland session of GNOME Shell".
    QString description() const;

    // The toolkit's platform for a session, when it must be other than the toolkit's own choice:
    // "xcb" on Wayland where Xwayland is offered, unless the user asked for another than Wayland.
    static QByteArray forcedPlatform(const QProcessEnvironment& environment);
};
