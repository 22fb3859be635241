#include "platform/linux/ModuleDesktopEntries.h"

#include "platform/Console.h"

#include <QFile>

#include <dlfcn.h>

ModuleDesktopEntries::ModuleDesktopEntries(QString modulePath)
    : m_modulePath(std::move(modulePath)) {}

// The module stays loaded: GIO registers types with GObject that cannot be taken back.
ModuleDesktopEntries::~ModuleDesktopEntries() = default;

const DesktopEntries* ModuleDesktopEntries::loaded() const {
    if (m_tried)
        return m_entries.get();
    m_tried = true;
    void* module = ::dlopen(QFile::encodeName(m_modulePath).constData(), RTLD_NOW | RTLD_LOCAL);
    using Factory = DesktopEntries* (*)();
    const auto factory = module ? reinterpret_cast<Factory>(::dlsym(module, factoryName)) : nullptr;
    if (factory)
        m_entries.reset(factory());
    if (!m_entries) {
        const char* reason = ::dlerror();
        m_failure = QStringLiteral("cannot load the desktop-entry module %1: %2")
                        .arg(m_modulePath, reason ? QString::fromLocal8Bit(reason) : QStringLiteral("no entries"));
        Console::printLine(QStringLiteral("[DesktopEntries] ") + m_failure);
    }
    return m_entries.get();
}

QList<DesktopEntries::Entry> ModuleDesktopEntries::installed(const QString& language) const {
    const DesktopEntries* entries = loaded();
    return entries ? entries->installed(language) : QList<Entry>();
}

std::optional<DesktopEntries::Entry> ModuleDesktopEntries::entryAt(const QString& path, const QString& language) const {
    const DesktopEntries* entries = loaded();
    return entries ? entries->entryAt(path, language) : std::nullopt;
}

QString ModuleDesktopEntries::directoryName(const QString& fileName, const QString& language) const {
    const DesktopEntries* entries = loaded();
    return entries ? entries->directoryName(fileName, language) : QString();
}

QString ModuleDesktopEntries::iconOf(const QString& path) const {
    const DesktopEntries* entries = loaded();
    return entries ? entries->iconOf(path) : QString();
}

std::optional<QString> ModuleDesktopEntries::launch(const QString& path, const QStringList& uris) const {
    const DesktopEntries* entries = loaded();
    return entries ? entries->launch(path, uris) : std::optional<QString>(m_failure);
}
