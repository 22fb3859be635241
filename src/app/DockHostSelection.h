#pragma once

#include <QString>

#include <memory>

class DockHost;

// Which dock stands for the Dock in this session: the user's own (GNOME Shell, Plank, KDE Plasma), or none,
// when Trellin's Linux Dock does (its preferences keep the tiles).
namespace DockHostSelection {

struct Choice {
    // None when the Linux Dock stands for the Dock.
    std::unique_ptr<DockHost> host;
    // The one line the main application says at start.
    QString line;
};

// The host's id (DockHostIds) from the "dockHost" setting and what runs on the session bus now.
QString hostId(const QString& setting);
// The host of that id; none for the Linux Dock. `bundlePath` is the running bundle's (its modules
// are loaded from there); launchers live in `entriesDirectory`.
std::unique_ptr<DockHost> create(const QString& id, const QString& bundlePath, const QString& entriesDirectory);
Choice choose(const QString& setting, const QString& bundlePath, const QString& entriesDirectory);

} // namespace DockHostSelection

// The user's dock as a helper sees it, for placing its popup: chosen at start, made only when the
// popup first asks, so that a helper that is never clicked pays for nothing of it.
class HelperDockHost {
public:
    HelperDockHost(QString id, QString bundlePath, QString entriesDirectory);
    ~HelperDockHost();

    // Whether a dock of the user's stands for the Dock (not the Linux Dock).
    bool isUsersDock() const;
    DockHost& host();

private:
    QString m_id;
    QString m_bundlePath;
    QString m_entriesDirectory;
    std::unique_ptr<DockHost> m_host;
};
