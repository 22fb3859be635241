#pragma once

#include "HostDesktop.h"

#include <QJsonValue>
#include <QList>
#include <QRect>
#include <QStringList>

#include <optional>

// The real KDE Plasma on a HostDesktop, a Wayland session: KWin on a virtual output with Xwayland
// for X11 clients, the activity manager and plasmashell. Its task managers are read and changed
// through the shell's scripting API, as its panel settings and the user's pins change them; the
// pointer is KWin's fake input, the only way a click reaches the panel's own surface.
class PlasmaHost {
public:
    enum class Edge { Top, Bottom, Left, Right };

    // One task manager on a panel, with the panel's place on the screen.
    struct TaskManager {
        int panel = 0;
        int widget = 0;
        QStringList launchers;
        Edge edge = Edge::Bottom;
        QRect panelRect;
    };

    explicit PlasmaHost(HostDesktop& desktop)
        : m_desktop(desktop) {}

    // Starts KWin, switches the desktop to its displays, then the activity manager and the shell;
    // true once the shell answers scripts with a panel holding a task manager.
    bool start();

    // Runs a script of the Plasma scripting API that prints one JSON value last; that value, or
    // none when the shell refuses, the script throws or prints no JSON.
    std::optional<QJsonValue> evaluate(const QString& script) const;

    // Every task manager of every panel, in the shell's order; none when the shell does not answer.
    std::optional<QList<TaskManager>> taskManagers() const;
    // The launchers of all task managers together.
    std::optional<QStringList> launchers() const;
    // The launcher a task manager writes for a desktop entry in the applications folders.
    static QString launcher(const QString& entryId) { return QStringLiteral("applications:") + entryId; }
    bool isPinned(const QString& entryId) const;
    // As the user's "Pin to Task Manager": on the first task manager, unless one has it already.
    bool pin(const QString& entryId);
    // As the user's "Unpin from Task Manager": from every task manager that has it.
    bool unpin(const QString& entryId);

    // The whole screen as KWin composites it, kept at `path`; null when KWin refuses.
    QImage screenshot(const QString& path) const;

    // The pointer, through KWin's fake input, in the session's logical coordinates.
    bool movePointer(QPoint point) const;
    bool click(QPoint point) const;

private:
    bool startCompositor();

    HostDesktop& m_desktop;
};
