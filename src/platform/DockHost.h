#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>

// The dock the user already runs, where a folder stands as its pinned launcher (a desktop entry,
// see FolderLaunchers): GNOME Shell's dash or dash-to-dock, Plank, or Trellin's own Linux Dock.
// Launchers are named by their entry id ("trellin-folder-<UUID>.desktop").
class DockHost : public QObject {
    Q_OBJECT
public:
    enum class Edge { Bottom, Left, Right, Top };

    // How the dock stands on its screen, for placing a popup next to it.
    struct Geometry {
        Edge edge = Edge::Bottom;
        // The side of an icon in pixels.
        int iconSize = 48;

        friend bool operator==(const Geometry&, const Geometry&) = default;
    };

    // Where a pinned launcher's tile is: a point on or just off the tile, in global y-down screen
    // pixels, and the dock's edge.
    struct TilePosition {
        QPoint point;
        Edge edge = Edge::Bottom;

        friend bool operator==(const TilePosition&, const TilePosition&) = default;
    };

    using QObject::QObject;
    ~DockHost() override = default;

    // The host's setting value ("gnome-shell", "plank", "trellin-dock").
    virtual QString id() const = 0;
    // Its name for people, in the line the application prints at start.
    virtual QString displayName() const = 0;

    // Whether the dock runs in the session now; until it does, nothing it would say is known.
    virtual bool isRunning() const = 0;
    // The pinned entry ids in the dock's order, every pin included (not only Trellin's); none
    // while the dock does not run or its list cannot be read, never an empty list for that.
    virtual std::optional<QStringList> pinnedEntries() const = 0;
    // Appends the entry to the pins, unless it is pinned already. None when done, else why not.
    virtual std::optional<QString> pin(const QString& entryId) = 0;
    // Takes every pin of the entry away; none when done (or nothing was pinned), else why not.
    virtual std::optional<QString> unpin(const QString& entryId) = 0;

    // The dock's edge and icon size; none while it does not run.
    virtual std::optional<Geometry> geometry() const = 0;
    // Where the entry's tile is, where the dock can tell; none otherwise.
    virtual std::optional<TilePosition> tilePosition(const QString& entryId) const = 0;

Q_SIGNALS:
    // The pins changed, the dock started or went away, or its geometry changed.
    void changed();
};
