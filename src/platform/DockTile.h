#pragma once

#include <QImage>
#include <QSize>

// This application's tile in the Dock.
class DockTile {
public:
    virtual ~DockTile() = default;

    // The tile's current size in pixels.
    virtual QSize size() const = 0;
    // Shows the content, already drawn at `size()`, and redisplays the tile.
    virtual void setContent(const QImage& content) = 0;
};
