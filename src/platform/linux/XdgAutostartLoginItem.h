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

    // True when the entry is there, starts this bundle's executable, and is not switched off
    // (Hidden, or the desktop's own "enabled" key); an entry left by a bundle that moved starts
    // nothing of ours.
    bool isRegistered() const override;
    std::optional<LoginItemFailure> registerMainApp() override;
    std::optional<LoginItemFailure> unregisterMainApp() override;

private:
    QString entryText() const;

    QString m_directory;
    QString m_bundleIdentifier;
    QString m_applicationName;
    QString m_executablePath;
};
