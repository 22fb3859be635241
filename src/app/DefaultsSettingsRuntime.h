#pragma once

#include "RuntimePorts.h"

class UserDefaults;

// The settings start-up needs, read straight from the user defaults each time they are asked for.
class DefaultsSettingsRuntime final : public SettingsRuntime {
public:
    explicit DefaultsSettingsRuntime(UserDefaults& defaults)
        : m_defaults(defaults) {}

    void reloadFromDefaults() override {}
    bool showMenuBar() const override;
    AppThemeMode appTheme() const override;

private:
    UserDefaults& m_defaults;
};
