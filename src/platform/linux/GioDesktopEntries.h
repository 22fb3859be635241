#pragma once

#include "platform/DesktopEntries.h"

// Desktop entries through GIO's GDesktopAppInfo, which implements the desktop entry and menu
// specifications: NoDisplay, Hidden, OnlyShowIn and NotShowIn, TryExec, field codes, Terminal,
// D-Bus activation; starts are announced to an X desktop by startup notification. The entries
// are found here (the data directories and their precedence), each read only when it is a small
// regular file, so that a named pipe among them never makes the application wait.
class GioDesktopEntries final : public DesktopEntries {
public:
    QList<Entry> installed(const QString& language) const override;
    std::optional<Entry> entryAt(const QString& path, const QString& language) const override;
    // Looked for in $XDG_DATA_HOME, then each of $XDG_DATA_DIRS.
    QString directoryName(const QString& fileName, const QString& language) const override;
    QString iconOf(const QString& path) const override;
    // The application runs in a session of its own and is reaped when it ends.
    std::optional<QString> launch(const QString& path, const QStringList& uris) const override;
};
