#pragma once

#include "platform/LoginItem.h"

// A login item as an XDG autostart entry, "<config home>/autostart/<bundle id>.desktop",
// that starts the bundle's executable.
class XdgAutostartLoginItem final : public LoginItem {
public:
    XdgAutostartLoginItem(QString autostartDirectory, QString bundleIdentifier, QString applicationName,
                          QString executablePath);

    // $XDG_CONFIG_HOME/autostart, else ~/.config/autostart.
    static QString standardAutostartDirectory();

    QString entryPath() const;

    bool registerMainApp(QString* error) override;
    bool unregisterMainApp(QString* error) override;

private:
    QString m_directory;
    QString m_bundleIdentifier;
    QString m_applicationName;
    QString m_executablePath;
};
