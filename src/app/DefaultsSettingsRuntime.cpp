#include "DefaultsSettingsRuntime.h"

#include "platform/UserDefaults.h"

bool DefaultsSettingsRuntime::showMenuBar() const {
    return m_defaults.boolForKey(QStringLiteral("showMenuBar"));
}

AppThemeMode DefaultsSettingsRuntime::appTheme() const {
    return m_defaults.stringForKey(QStringLiteral("appTheme")) == QStringLiteral("light") ? AppThemeMode::Light
                                                                                          : AppThemeMode::Dark;
}
