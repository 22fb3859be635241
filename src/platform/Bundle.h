#pragma once

#include <QString>
#include <QVariantMap>

// An application bundle: a folder "X.app" with Contents/Info.plist and Contents/MacOS/<executable>.
class Bundle {
public:
    explicit Bundle(QString bundlePath);

    // The bundle enclosing an executable at X.app/Contents/MacOS/<exe>; a bundle with an
    // empty path when the executable is not inside one.
    static Bundle enclosingExecutable(const QString& executablePath);

    bool isValid() const { return !m_path.isEmpty(); }
    const QString& path() const { return m_path; }
    QString contentsPath() const;
    QString infoPlistPath() const;
    QString resourcesPath() const;

    // Info.plist as read now; empty when it is missing or unreadable.
    QVariantMap infoDictionary() const;
    QVariant infoValue(const QString& key) const { return infoDictionary().value(key); }
    QString identifier() const;
    QString executablePath() const;

private:
    QString m_path;
};
