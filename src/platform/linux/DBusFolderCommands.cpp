#include "DBusFolderCommands.h"

#include "LinuxApplication.h"
#include "platform/Protocol.h"

QString DBusFolderCommands::errorName(FolderCommands::Failure failure) {
    const auto name = [](const char* kind) -> QString {
        return Protocol::Bus::foldersInterface + QLatin1String(".Error.") + QLatin1String(kind);
    };
    switch (failure) {
    case FolderCommands::Failure::InvalidArgument:
        return name("InvalidArgument");
    case FolderCommands::Failure::NotFound:
        return name("NotFound");
    case FolderCommands::Failure::Ambiguous:
        return name("Ambiguous");
    case FolderCommands::Failure::None:
    case FolderCommands::Failure::Failed:
        break;
    }
    return name("Failed");
}

DBusFolderCommands::DBusFolderCommands(LinuxApplication& application, const QDBusConnection& bus,
                                       FolderCommands& commands)
    : QDBusAbstractAdaptor(&application)
    , m_bus(bus)
    , m_commands(commands) {}

QString DBusFolderCommands::answer(const FolderCommands::Outcome& outcome, const QDBusMessage& message) {
    if (outcome.succeeded())
        return outcome.text;
    message.setDelayedReply(true);
    m_bus.send(message.createErrorReply(errorName(outcome.failure), outcome.text));
    return {};
}

void DBusFolderCommands::answerLater(const QDBusMessage& message,
                                     const std::function<void(FolderCommands::Done)>& command) {
    message.setDelayedReply(true);
    command([bus = m_bus, message](const FolderCommands::Outcome& outcome) mutable {
        bus.send(outcome.succeeded() ? message.createReply()
                                     : message.createErrorReply(errorName(outcome.failure), outcome.text));
    });
}

QString DBusFolderCommands::List(const QDBusMessage& message) {
    return answer(m_commands.list(), message);
}

QString DBusFolderCommands::Add(const QString& name, const QString& symbol, const QStringList& apps,
                                const QDBusMessage& message) {
    return answer(m_commands.add(name, symbol, apps), message);
}

void DBusFolderCommands::Remove(const QString& folder, const QDBusMessage& message) {
    answer(m_commands.remove(folder), message);
}

void DBusFolderCommands::Rename(const QString& folder, const QString& name, const QDBusMessage& message) {
    answer(m_commands.rename(folder, name), message);
}

void DBusFolderCommands::AddApps(const QString& folder, const QStringList& apps, const QDBusMessage& message) {
    answer(m_commands.addApps(folder, apps), message);
}

void DBusFolderCommands::RemoveApp(const QString& folder, const QString& app, const QDBusMessage& message) {
    answer(m_commands.removeApp(folder, app), message);
}

void DBusFolderCommands::SetInDock(const QString& folder, bool inDock, const QDBusMessage& message) {
    answer(m_commands.setInDock(folder, inDock), message);
}

void DBusFolderCommands::Open(const QString& folder, const QDBusMessage& message) {
    answerLater(message, [this, folder](FolderCommands::Done done) { m_commands.open(folder, std::move(done)); });
}

void DBusFolderCommands::LaunchAll(const QString& folder, const QDBusMessage& message) {
    answerLater(message, [this, folder](FolderCommands::Done done) { m_commands.launchAll(folder, std::move(done)); });
}

QString DBusFolderCommands::Export(const QDBusMessage& message) {
    return answer(m_commands.exportDocument(), message);
}

QString DBusFolderCommands::Import(const QByteArray& document, const QDBusMessage& message) {
    return answer(m_commands.importDocument(document), message);
}

QString DBusFolderCommands::ImportDesktopAppFolders(const QDBusMessage& message) {
    return answer(m_commands.importDesktopAppFolders(), message);
}

QString DBusFolderCommands::Backups(const QDBusMessage& message) {
    return answer(m_commands.backups(), message);
}

void DBusFolderCommands::Restore(const QString& backup, const QDBusMessage& message) {
    answer(m_commands.restore(backup), message);
}
