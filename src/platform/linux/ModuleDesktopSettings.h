#pragma once

#include "platform/linux/DesktopSettings.h"

#include <QString>

// The desktop's settings from the GIO module in the bundle (the one ModuleDesktopEntries loads),
// loaded on first use, so that only a process that reads a dock's settings maps GIO. When the
// module cannot be loaded (said once) no schema is installed as far as the caller can tell.
class ModuleDesktopSettings final : public DesktopSettings {
public:
    // The name of the function the module exports: `DesktopSettings* (*)()`, the caller owning
    // the result.
    static constexpr const char* factoryName = "trellinCreateDesktopSettings";

    explicit ModuleDesktopSettings(QString modulePath);
    ~ModuleDesktopSettings() override;

    std::unique_ptr<Schema> open(const QString& schemaId, const QString& path = {}) override;

private:
    QString m_modulePath;
    bool m_tried = false;
    std::unique_ptr<DesktopSettings> m_settings;
};
