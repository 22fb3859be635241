#include "DockFileFormat.h"

#include <QDir>
#include <QUrl>

#include <cmath>
#include <limits>

namespace {

bool isDictionary(const QVariant& value) {
    return value.typeId() == QMetaType::QVariantMap;
}

} // namespace

QString DockFileFormat::standardPath(const QString& homeDirectory) {
    return QDir(homeDirectory).filePath(QStringLiteral("Library/Preferences/com.apple.dock.plist"));
}

std::optional<QString> DockFileFormat::standardisedPath(const QString& path) {
    if (!path.startsWith(u'/') || path.contains(QChar(0)))
        return std::nullopt;
    return QDir::cleanPath(path);
}

std::optional<QString> DockFileFormat::tileFilePath(const QVariantMap& tile) {
    const QVariant tileData = tile.value(QStringLiteral("tile-data"));
    if (!isDictionary(tileData))
        return std::nullopt;
    const QVariant fileData = tileData.toMap().value(QStringLiteral("file-data"));
    if (!isDictionary(fileData))
        return std::nullopt;
    const QVariantMap location = fileData.toMap();
    const QVariant text = location.value(QStringLiteral("_CFURLString"));
    if (text.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString string = text.toString();

    if (exactInteger(location.value(QStringLiteral("_CFURLStringType"))) == 0)
        return standardisedPath(string);
    const QUrl url(string, QUrl::StrictMode);
    if (url.isValid() && url.isLocalFile())
        return standardisedPath(url.path(QUrl::FullyDecoded));
    if (string.startsWith(u'/'))
        return standardisedPath(string);
    return std::nullopt;
}

QVariantMap DockFileFormat::applicationTile(const QString& path, const QString& label,
                                            const QString& bundleIdentifier) {
    // A folder's URL ends in a slash, as the Dock writes a bundle's.
    QString folder = QDir::cleanPath(path);
    if (!folder.endsWith(u'/'))
        folder += u'/';
    const QString url = QString::fromUtf8(QUrl::fromLocalFile(folder).toEncoded());
    QVariantMap tileData{
        {QStringLiteral("file-data"),
         QVariantMap{{QStringLiteral("_CFURLString"), url}, {QStringLiteral("_CFURLStringType"), 15}}},
        {QStringLiteral("file-label"), label},
    };
    if (!bundleIdentifier.isEmpty())
        tileData.insert(QStringLiteral("bundle-identifier"), bundleIdentifier);
    return {{QStringLiteral("tile-data"), tileData}, {QStringLiteral("tile-type"), QStringLiteral("file-tile")}};
}

std::optional<qint64> DockFileFormat::exactInteger(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::UInt:
    case QMetaType::ULongLong: {
        const quint64 number = value.toULongLong();
        if (number > quint64(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return qint64(number);
    }
    case QMetaType::Float:
    case QMetaType::Double: {
        const double number = value.toDouble();
        // 2^63 is the first double past the largest integer.
        constexpr double limit = 9223372036854775808.0;
        if (!std::isfinite(number) || std::trunc(number) != number || number < -limit || number >= limit)
            return std::nullopt;
        return qint64(number);
    }
    default:
        return std::nullopt;
    }
}

std::optional<bool> DockFileFormat::exactBoolean(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const std::optional<qint64> number = exactInteger(value);
    if (number && (*number == 0 || *number == 1))
        return *number == 1;
    return std::nullopt;
}
