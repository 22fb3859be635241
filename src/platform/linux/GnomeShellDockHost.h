#pragma once

#include "platform/DockHost.h"
#include "platform/linux/DesktopSettings.h"

#include <QDBusConnection>

#include <memory>

class QDBusServiceWatcher;

// GNOME Shell's favourites, which both the plain dash and dash-to-dock (or Ubuntu Dock) show. The
// shell runs while its name is on the session bus. Where the dock stands is known from
// dash-to-dock's settings; where a tile is, and where the plain dash (in the overview) stands, only
// Trellin's own extension tells, where the user runs it (GnomeShellExtension).
class GnomeShellDockHost final : public DockHost {
public:
    // `settings` gives the shell's and dash-to-dock's settings; without the shell's schema (GNOME
    // not installed) nothing can be pinned, with a message saying so. `currentDesktop`
    // ($XDG_CURRENT_DESKTOP) tells an Ubuntu session, whose shell runs Ubuntu Dock unasked.
    GnomeShellDockHost(QDBusConnection bus, std::unique_ptr<DesktopSettings> settings, QString currentDesktop,
                       QObject* parent = nullptr);
    ~GnomeShellDockHost() override;

    QString id() const override;
    QString displayName() const override;
    // Writes go to the settings even before the shell runs: it reads them when it starts.
    bool isRunning() const override;
    std::optional<QStringList> pinnedEntries() const override;
    std::optional<QString> pin(const QString& entryId) override;
    std::optional<QString> unpin(const QString& entryId) override;
    std::optional<Geometry> geometry() const override;
    std::optional<TilePosition> tilePosition(const QString& entryId) const override;

private:
    std::optional<QStringList> favorites() const;
    std::optional<QString> writeFavorites(const QStringList& favorites);
    bool dashToDockEnabled() const;
    // The extension's answer when it has the `signature` asked for and says it found what was
    // asked (its first value); none without the extension, or when it does not answer in time.
    std::optional<QList<QVariant>> askExtension(const QString& method, const QVariantList& arguments,
                                                const QString& signature) const;

    QDBusConnection m_bus;
    std::unique_ptr<DesktopSettings> m_settings;
    std::unique_ptr<DesktopSettings::Schema> m_shell;
    std::unique_ptr<DesktopSettings::Schema> m_dashToDock;
    bool m_ubuntuSession = false;
    QDBusServiceWatcher* m_watcher;
    bool m_running = false;
};
