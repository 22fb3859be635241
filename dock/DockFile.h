#pragma once

#include "DockConfiguration.h"

#include "platform/linux/PlistPreferenceDomain.h"

#include <optional>

// The Dock's preferences file: read whole, and rewritten only in "persistent-apps", through the
// preference domain, which keeps the file's format and every other key.
class DockFile {
public:
    explicit DockFile(const QString& preferencesDirectory);

    const QString& path() const { return m_domain.filePath(); }

    // A missing file is a Dock with its defaults; a file that cannot be read is none, with the
    // reason in `error`.
    std::optional<DockConfiguration> read(QString* error = nullptr) const;

    // Adds a tile for the application at the end of "persistent-apps", unless one is there.
    // False when the file could not be written (`error` says why); true also when nothing changed.
    bool keep(const QString& path, const QString& label, const QString& bundleIdentifier, bool* changed,
              QString* error);
    // Drops every tile of the application; other entries stay as they were, in their order.
    bool remove(const QString& path, bool* changed, QString* error);

private:
    std::optional<QVariantList> persistentApps(QString* error) const;

    PlistPreferenceDomain m_domain;
};
