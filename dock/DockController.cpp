#include "DockController.h"
#include "platform/Protocol.h"

#include "DockFile.h"
#include "DockTiles.h"
#include "DockWindow.h"

#include "platform/Bundle.h"
#include "platform/Console.h"
#include "platform/DistributedNotifications.h"
#include "platform/NotificationNames.h"
#include "platform/Workspace.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QFileInfo>
#include <QUuid>

namespace {

const QString logPrefix = QStringLiteral("[Dock] ");

} // namespace

DockController::DockController(Services services)
    : m_services(std::move(services)) {
    connect(&m_services.window, &DockWindow::tileClicked, this, &DockController::open);
    connect(&m_services.window, &DockWindow::keepRequested, this, &DockController::keep);
    connect(&m_services.window, &DockWindow::removeRequested, this, &DockController::remove);
    connect(&m_services.window, &DockWindow::quitRequested, this, &DockController::quit);
}

void DockController::start() {
    // The file is replaced by a rename when written, so its folder is what stays to be watched.
    const QString directory = QFileInfo(m_services.file.path()).absolutePath();
    QDir().mkpath(directory);
    m_directoryWatch =
        m_services.fileEvents.watch(directory, FileEvents::Write, [this](FileEvents::Events) { reload(); });
    m_services.notifications.observe(NotificationName::dockPreferencesChanged,
                                     [this](const Notification&) { reload(); });
    reload();
}

void DockController::reload() {
    QString error;
    const std::optional<DockConfiguration> configuration = m_services.file.read(&error);
    if (!configuration) {
        // The Dock goes on as it was; the file is left for its owner to mend.
        if (error != m_lastReadError)
            Console::printLine(logPrefix + QStringLiteral("Failed to read Dock preferences: ") + error);
        m_lastReadError = error;
        return;
    }
    m_lastReadError.clear();
    if (!(*configuration == m_services.window.configuration()))
        m_services.window.setConfiguration(*configuration);
    m_services.tiles.setPersistentApps(configuration->persistentApps, configuration->persistentLabels);
}

void DockController::open(const QString& path) {
    if (const std::optional<QString> owner = m_services.tiles.ownerOf(path)) {
        m_services.bus.asyncCall(QDBusMessage::createMethodCall(
            *owner, Protocol::Bus::applicationPath, Protocol::Bus::applicationInterface, QStringLiteral("Reopen")));
        return;
    }
    m_services.workspace.openApplication(path, Workspace::OpenConfiguration(),
                                         [path](const std::optional<QString>& error) {
                                             if (error)
                                                 Console::printLine(logPrefix + QStringLiteral("Failed to open ") +
                                                                    path + QStringLiteral(": ") + *error);
                                         });
}

void DockController::keep(const QString& path) {
    setKept(path, true);
}

void DockController::remove(const QString& path) {
    setKept(path, false);
}

void DockController::setKept(const QString& path, bool kept) {
    bool changed = false;
    QString error;
    const bool written =
        kept ? m_services.file.keep(path, DockTiles::labelFor(path), Bundle(path).identifier(), &changed, &error)
             : m_services.file.remove(path, &changed, &error);
    if (!written) {
        Console::printLine(logPrefix + QStringLiteral("Failed to update Dock preferences: ") + error);
        return;
    }
    if (!changed)
        return;
    m_services.notifications.post(NotificationName::dockPreferencesChanged);
    announcePinState(path, kept);
    reload();
}

void DockController::quit(const QString& path) {
    const std::optional<QString> owner = m_services.tiles.ownerOf(path);
    if (!owner)
        return;
    const QDBusReply<uint> pid = m_services.bus.interface()->servicePid(*owner);
    if (!pid.isValid() || !m_services.workspace.terminate({.processIdentifier = pid.value(), .bundlePath = path}))
        Console::printLine(logPrefix + QStringLiteral("Failed to quit ") + path);
}

void DockController::announcePinState(const QString& path, bool pinned) {
    // Only a Trellin helper's tile stands for a folder.
    const QVariant groupID = Bundle(path).infoValue(Protocol::groupIDKey);
    if (groupID.typeId() != QMetaType::QString || QUuid::fromString(groupID.toString()).isNull())
        return;
    const QString folderID = QUuid::fromString(groupID.toString()).toString(QUuid::WithoutBraces).toUpper();
    m_services.notifications.post(NotificationName::TRDockTilePinStateChanged, {},
                                  {{Protocol::Key::folderID, folderID}, {Protocol::Key::isPinned, pinned}});
}
