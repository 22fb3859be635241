#pragma once

#include "HostDesktop.h"

#include <QPoint>
#include <QStringList>

#include <optional>

// The real Plank on a HostDesktop, with bamfdaemon to match windows to launchers, driven through
// its D-Bus items API as a user's dock settings and clicks drive it.
class PlankHost {
public:
    // Plank's edges, as GetHoverPosition reports them (GTK's position types).
    enum class Edge { Left = 0, Right = 1, Top = 2, Bottom = 3 };
    struct Hover {
        // Just off the tile, on the screen side of the dock.
        QPoint point;
        Edge edge = Edge::Bottom;
    };

    explicit PlankHost(HostDesktop& desktop)
        : m_desktop(desktop) {}

    // Starts bamfdaemon and Plank, its dock always shown; true once its items API answers.
    bool start();

    // A launcher's URI, as Plank names it.
    static QString uri(const QString& desktopEntryPath);
    QString uriOfEntry(const QString& entryId) const;

    std::optional<QStringList> persistentApplications() const;
    // The running applications the dock shows beside its launchers.
    std::optional<QStringList> transientApplications() const;
    bool isPinned(const QString& entryId) const;
    bool add(const QString& entryId);
    // As the user's "Keep in Dock" unticked or a drag off the dock does.
    bool remove(const QString& entryId);
    std::optional<Hover> hoverPosition(const QString& entryId) const;
    // A point on the tile: the hover point moved into the dock.
    std::optional<QPoint> tileCentre(const QString& entryId) const;
    // Moves the pointer onto the launcher's tile. Plank may keep showing a tile's first picture
    // until something redraws the dock, as the pointer does.
    bool point(const QString& entryId) const;
    // Clicks the launcher's tile with the mouse.
    bool click(const QString& entryId) const;

private:
    HostDesktop& m_desktop;
};
