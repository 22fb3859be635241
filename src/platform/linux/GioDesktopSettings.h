#pragma once

#include "platform/linux/DesktopSettings.h"

// The settings through GIO's GSettings, with the backend and schemas GIO finds for the process
// (GSETTINGS_BACKEND, GSETTINGS_SCHEMA_DIR). GSettings aborts the process on a schema or key it
// does not know, so both are looked up first.
class GioDesktopSettings final : public DesktopSettings {
public:
    std::unique_ptr<Schema> open(const QString& schemaId, const QString& path = {}) override;
};
