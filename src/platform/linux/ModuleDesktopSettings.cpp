#include "platform/linux/ModuleDesktopSettings.h"

#include "platform/Console.h"

#include <QFile>

#include <dlfcn.h>

ModuleDesktopSettings::ModuleDesktopSettings(QString modulePath)
    : m_modulePath(std::move(modulePath)) {}

// The module stays loaded: GIO registers types with GObject that cannot be taken back.
ModuleDesktopSettings::~ModuleDesktopSettings() = default;

std::unique_ptr<DesktopSettings::Schema> ModuleDesktopSettings::open(const QString& schemaId, const QString& path) {
    if (!m_tried) {
        m_tried = true;
        void* module = ::dlopen(QFile::encodeName(m_modulePath).constData(), RTLD_NOW | RTLD_LOCAL);
        using Factory = DesktopSettings* (*)();
        const auto factory = module ? reinterpret_cast<Factory>(::dlsym(module, factoryName)) : nullptr;
        if (factory)
            m_settings.reset(factory());
        if (!m_settings) {
            const char* reason = ::dlerror();
            Console::printLine(
                QStringLiteral("[DesktopSettings] cannot load the settings module %1: %2")
                    .arg(m_modulePath, reason ? QString::fromLocal8Bit(reason) : QStringLiteral("no settings")));
        }
    }
    return m_settings ? m_settings->open(schemaId, path) : nullptr;
}
