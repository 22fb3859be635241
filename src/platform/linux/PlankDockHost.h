#pragma once

#include "platform/DockHost.h"
#include "platform/linux/DesktopSettings.h"

#include <QDBusConnection>

#include <memory>

class QDBusServiceWatcher;

// Plank, through its D-Bus interface for items: pins are launcher URIs, a click's tile is where
// Plank would put a hover label. Pins are read from the bus on every call, so a Plank that went
// away and came back is read afresh. The dock's position and icon size come from Plank's
// settings (the bus tells an edge only for a pinned item, and no size), opened on the first
// question about them: only then is the settings module, and GIO with it, loaded.
class PlankDockHost final : public DockHost {
    Q_OBJECT
public:
    // `entriesDirectory`: where the folders' launchers are written; `settings` may be null (no
    // geometry then).
    PlankDockHost(QDBusConnection bus, QString entriesDirectory, std::unique_ptr<DesktopSettings> settings,
                  QObject* parent = nullptr);
    ~PlankDockHost() override;

    QString id() const override;
    QString displayName() const override;
    bool isRunning() const override;
    std::optional<QStringList> pinnedEntries() const override;
    std::optional<QString> pin(const QString& entryId) override;
    std::optional<QString> unpin(const QString& entryId) override;
    std::optional<Geometry> geometry() const override;
    std::optional<TilePosition> tilePosition(const QString& entryId) const override;

    // The URI Plank knows the entry by; empty for an id that is no plain file name.
    QString uriOf(const QString& entryId) const;
    // The entry id of a URI Plank lists: an entry in the launchers' folder by its file name; any
    // other by its file name too, unless a launcher of that name is in the folder, where it stays
    // the URI it is, so that a copy elsewhere never passes for the launcher.
    QString entryIdOf(const QString& uri) const;

private Q_SLOTS:
    void itemsChanged();

private:
    void ownerChanged(const QString& newOwner);
    std::optional<QString> why(const QString& entryId) const;
    std::optional<QStringList> persistentUris() const;
    std::optional<QString> call(const QString& method, const QString& uri) const;

    QDBusConnection m_bus;
    QString m_entriesDirectory;
    std::unique_ptr<DesktopSettings> m_settings;
    mutable bool m_settingsOpened = false;
    mutable std::unique_ptr<DesktopSettings::Schema> m_dockSettings;
    QDBusServiceWatcher* m_watcher;
    bool m_running = false;
};
