#pragma once

#include "platform/DockMetrics.h"

#include <QHash>
#include <QStringList>
#include <QVariantMap>

enum class DockOrientation { Bottom, Left, Right };

// What the Dock's preferences file says about the Dock's own shape and its kept applications.
struct DockConfiguration {
    static constexpr int defaultTileSize = DockMetrics::defaultTileSize;
    static constexpr int defaultLargeSize = 128;
    static constexpr int minimumSize = 16;
    static constexpr int maximumTileSize = 128;
    static constexpr int maximumLargeSize = 256;

    DockOrientation orientation = DockOrientation::Bottom;
    int tileSize = defaultTileSize;
    int largeSize = defaultLargeSize;
    bool magnification = false;
    // The standardised paths of "persistent-apps", in Dock order, each once.
    QStringList persistentApps;
    // Each kept tile's "file-label", the name the Dock shows for it, where the file gives one.
    QHash<QString, QString> persistentLabels;

    // Missing or unusable values take their defaults; sizes are kept in range, and a magnified
    // tile is never smaller than a plain one.
    static DockConfiguration fromPreferences(const QVariantMap& root);

    bool operator==(const DockConfiguration&) const = default;
};
