#include "Bundle.h"

#include "PropertyList.h"

#include <QDir>
#include <QFileInfo>

Bundle::Bundle(QString bundlePath)
    : m_path(bundlePath.isEmpty() ? QString() : QDir::cleanPath(bundlePath)) {}

Bundle Bundle::enclosingExecutable(const QString& executablePath) {
    if (executablePath.isEmpty())
        return Bundle(QString());
    // A symlink to the executable (e.g. in a bin folder) still belongs to the bundle it points into.
    const QString canonical = QFileInfo(executablePath).canonicalFilePath();
    const QString path = QDir::cleanPath(canonical.isEmpty() ? executablePath : canonical);

    const QFileInfo executable(path);
    const QFileInfo macOS(executable.path());
    const QFileInfo contents(macOS.path());
    const QString bundlePath = contents.path();
    if (executable.fileName().isEmpty() || macOS.fileName() != QLatin1String("MacOS") ||
        contents.fileName() != QLatin1String("Contents"))
        return Bundle(QString());
    const QString bundleName = QFileInfo(bundlePath).fileName();
    if (!bundleName.endsWith(QLatin1String(".app")) || bundleName.size() <= 4)
        return Bundle(QString());
    return Bundle(bundlePath);
}

// An invalid bundle has no paths, so that nothing is looked up at "/Contents".
QString Bundle::contentsPath() const {
    return isValid() ? m_path + QStringLiteral("/Contents") : QString();
}

QString Bundle::infoPlistPath() const {
    return isValid() ? contentsPath() + QStringLiteral("/Info.plist") : QString();
}

QString Bundle::resourcesPath() const {
    return isValid() ? contentsPath() + QStringLiteral("/Resources") : QString();
}

QVariantMap Bundle::infoDictionary() const {
    if (!isValid())
        return {};
    const std::optional<PropertyList::Document> document = PropertyList::readFile(infoPlistPath());
    if (!document || document->root.typeId() != QMetaType::QVariantMap)
        return {};
    return document->root.toMap();
}

QString Bundle::identifier() const {
    const QVariant value = infoValue(QStringLiteral("CFBundleIdentifier"));
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

QString Bundle::executablePath() const {
    const QVariant value = infoValue(QStringLiteral("CFBundleExecutable"));
    if (value.typeId() != QMetaType::QString)
        return {};
    // The name is a file in Contents/MacOS; a name that walks out of it would have us launch
    // whatever it points at.
    const QString name = value.toString();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains(u'/'))
        return {};
    return contentsPath() + QStringLiteral("/MacOS/") + name;
}
