#pragma once

#include "platform/DockExtension.h"
#include "platform/linux/DesktopSettings.h"

#include <QDBusConnection>

#include <memory>

// Trellin's GNOME Shell extension (resources/gnome-shell-extension), which tells a folder's helper
// where its icon stands in the dash (GnomeShellDockHost asks it). Installed for the user only, as
// GNOME installs extensions from its own site: a copy in the user's extensions folder, switched on
// in the shell's settings. A shell that runs loads an extension it did not see at its start only at
// the next login (on X11 also after a restart of the shell), so a fresh install is "Installed"
// until then; one the shell knew already becomes active at once.
class GnomeShellExtension final : public DockExtension {
public:
    // `bundled`: the extension's folder in the bundle; `extensions`: the user's extensions folder
    // ($XDG_DATA_HOME/gnome-shell/extensions); `settings`: where the shell keeps its list of
    // extensions (none, or without the shell's schema, without GNOME); `bus`: the shell's bus.
    GnomeShellExtension(QString bundled, QString extensions, std::unique_ptr<DesktopSettings> settings,
                        QDBusConnection bus);

    // The extension of the bundle at `bundlePath` for this user, the settings read through the
    // bundle's GIO module, on the session bus.
    static std::unique_ptr<GnomeShellExtension> forBundle(const QString& bundlePath);
    // Where the bundle at `bundlePath` ships it, and where GNOME looks for the user's extensions.
    static QString bundledFolder(const QString& bundlePath);
    static QString userExtensionsFolder();

    State state() const override;
    std::optional<QString> install() override;

private:
    QString installedFolder() const;
    bool filesCurrent() const;
    bool switchedOn() const;
    bool userExtensionsOff() const;
    std::optional<QString> copyFiles();
    std::optional<QString> switchOn();

    QString m_bundled;
    QString m_extensions;
    std::unique_ptr<DesktopSettings> m_settings;
    std::unique_ptr<DesktopSettings::Schema> m_shell;
    QDBusConnection m_bus;
};
