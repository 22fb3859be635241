#pragma once

#include "RuntimePorts.h"
#include "settings/AppSettings.h"

// The settings port of the delegate, answered by the process's settings object.
class AppSettingsRuntime final : public SettingsRuntime {
public:
    explicit AppSettingsRuntime(AppSettings& settings)
        : m_settings(settings) {}

    void reloadFromDefaults() override { m_settings.reloadFromDefaults(); }
    bool showMenuBar() const override { return m_settings.showMenuBar(); }
    AppThemeMode appTheme() const override { return m_settings.appTheme(); }

private:
    AppSettings& m_settings;
};
