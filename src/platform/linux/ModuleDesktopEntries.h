#pragma once

#include "platform/DesktopEntries.h"

#include <memory>

// Desktop entries from the GIO module in the bundle, loaded on first use. GIO and the libraries
// it brings cost every process that maps them about a megabyte, and most helpers never read a
// desktop entry. When the module cannot be loaded (said once) there are no entries to show and
// a launch fails with the reason.
class ModuleDesktopEntries final : public DesktopEntries {
public:
    // The name of the function the module exports: `DesktopEntries* (*)()`, the caller owning
    // the result.
    static constexpr const char* factoryName = "trellinCreateDesktopEntries";
    // Where a bundle keeps the module (the build puts it there).
    static QString modulePathIn(const QString& bundlePath) {
        return bundlePath + QStringLiteral("/Contents/PlugIns/libtrellin-gio.so");
    }

    explicit ModuleDesktopEntries(QString modulePath);
    ~ModuleDesktopEntries() override;

    QList<Entry> installed(const QString& language) const override;
    std::optional<Entry> entryAt(const QString& path, const QString& language) const override;
    QString directoryName(const QString& fileName, const QString& language) const override;
    QString iconOf(const QString& path) const override;
    std::optional<QString> launch(const QString& path, const QStringList& uris) const override;

private:
    const DesktopEntries* loaded() const;

    QString m_modulePath;
    mutable bool m_tried = false;
    mutable QString m_failure;
    mutable std::unique_ptr<DesktopEntries> m_entries;
};
