#pragma once

#include "platform/DockTile.h"

#include <QList>

// Keeps every content the tile was given.
class FakeDockTile final : public DockTile {
public:
    QSize size() const override { return tileSize; }
    void setContent(const QImage& content) override { contents.append(content); }

    QSize tileSize{128, 128};
    QList<QImage> contents;
};
