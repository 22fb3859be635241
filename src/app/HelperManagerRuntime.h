#pragma once

#include "RuntimePorts.h"
#include "helpers/HelperManager.h"

// The helper port of the delegate, answered by the process's helper manager.
class HelperManagerRuntime final : public HelperRuntime {
public:
    explicit HelperManagerRuntime(HelperManager& manager)
        : m_manager(manager) {}

    std::optional<double> dockTileSize() const override { return m_manager.dockTileSize(); }
    void syncHelpers(const QList<AppFolder>& folders) override { m_manager.syncHelpers(folders); }

private:
    HelperManager& m_manager;
};
