#include "DockConfiguration.h"

#include "platform/DockFileFormat.h"

#include <algorithm>
#include <cmath>

namespace {

std::optional<int> sizeOf(const QVariant& value) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    const bool numeric = value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong ||
                         value.typeId() == QMetaType::UInt || value.typeId() == QMetaType::ULongLong ||
                         value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
    if (!numeric || !ok || !std::isfinite(number))
        return std::nullopt;
    return int(std::lround(std::clamp(number, -1e6, 1e6)));
}

} // namespace

DockConfiguration DockConfiguration::fromPreferences(const QVariantMap& root) {
    DockConfiguration configuration;
    const QString orientation = root.value(QStringLiteral("orientation")).toString();
    if (orientation == QLatin1String("left"))
        configuration.orientation = DockOrientation::Left;
    else if (orientation == QLatin1String("right"))
        configuration.orientation = DockOrientation::Right;

    configuration.tileSize = std::clamp(sizeOf(root.value(QStringLiteral("tilesize"))).value_or(defaultTileSize),
                                        minimumSize, maximumTileSize);
    configuration.largeSize = std::clamp(sizeOf(root.value(QStringLiteral("largesize"))).value_or(defaultLargeSize),
                                         configuration.tileSize, maximumLargeSize);
    configuration.magnification =
        DockFileFormat::exactBoolean(root.value(QStringLiteral("magnification"))).value_or(false);

    for (const QVariant& entry : root.value(DockFileFormat::persistentAppsKey).toList()) {
        if (entry.typeId() != QMetaType::QVariantMap)
            continue;
        const std::optional<QString> path = DockFileFormat::tileFilePath(entry.toMap());
        if (!path || configuration.persistentApps.contains(*path))
            continue;
        configuration.persistentApps.append(*path);
        const QVariant label =
            entry.toMap().value(QStringLiteral("tile-data")).toMap().value(QStringLiteral("file-label"));
        if (label.typeId() == QMetaType::QString && !label.toString().trimmed().isEmpty())
            configuration.persistentLabels.insert(*path, label.toString());
    }
    return configuration;
}
