#pragma once

#include "HostDesktop.h"

#include <QJsonValue>
#include <QList>
#include <QRect>
#include <QStringList>

#include <optional>

// The real GNOME Shell with dash-to-dock, as the X11 window manager of a HostDesktop. A test-only
// extension puts it in unsafe mode, so the test reads the dock's icons through Eval and takes
// screenshots as the shell draws them.
class GnomeShellHost {
public:
    // One icon the dock shows: its desktop entry id, where it stands, and the icon its entry names
    // as the shell read it (a file's path, or a theme name).
    struct DashIcon {
        QString id;
        QRect rect;
        QString icon;
    };

    explicit GnomeShellHost(HostDesktop& desktop)
        : m_desktop(desktop) {}

    // Starts the shell with dash-to-dock fixed at the bottom; true once it answers Eval with the
    // dock shown and the overview closed.
    bool start();

    // What the script returns, parsed from the JSON the shell answers with; none when the shell
    // refuses or the script throws.
    std::optional<QJsonValue> eval(const QString& script) const;
    QList<DashIcon> dashIcons() const;
    std::optional<DashIcon> dashIcon(const QString& entryId) const;
    // The whole screen as the shell draws it, kept at `path`.
    QImage screenshot(const QString& path) const;

    // GSettings org.gnome.shell favorite-apps, as the shell holds it.
    std::optional<QStringList> favourites() const;
    // As the dock's "Pin to Dash" does; false when the shell does not know the entry (yet).
    bool pin(const QString& entryId);
    // As the dock's "Unpin" does.
    bool unpin(const QString& entryId);
    // A dash-to-dock setting, as its preferences would set it.
    bool setDockSetting(const QString& key, const QString& value);
    bool click(const QString& entryId) const;

private:
    HostDesktop& m_desktop;
};
