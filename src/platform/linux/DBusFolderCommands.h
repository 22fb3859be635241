#pragma once

#include "platform/FolderCommands.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>

class LinuxApplication;

// The interface "app.trellin.Folders" on the running main application's object
// (docs/dbus/app.trellin.Application.xml), answering from FolderCommands. Made a child of the
// application object, so it is exported with it; only the main application makes one.
class DBusFolderCommands : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.trellin.Folders")
public:
    // "app.trellin.Folders.Error.NotFound" and the like, one per FolderCommands::Failure.
    static QString errorName(FolderCommands::Failure failure);

    DBusFolderCommands(LinuxApplication& application, const QDBusConnection& bus, FolderCommands& commands);

public Q_SLOTS:
    QString List(const QDBusMessage& message);
    QString Add(const QString& name, const QString& symbol, const QStringList& apps, const QDBusMessage& message);
    void Remove(const QString& folder, const QDBusMessage& message);
    void Rename(const QString& folder, const QString& name, const QDBusMessage& message);
    void AddApps(const QString& folder, const QStringList& apps, const QDBusMessage& message);
    void RemoveApp(const QString& folder, const QString& app, const QDBusMessage& message);
    void SetInDock(const QString& folder, bool inDock, const QDBusMessage& message);
    void Open(const QString& folder, const QDBusMessage& message);
    void LaunchAll(const QString& folder, const QDBusMessage& message);
    QString Export(const QDBusMessage& message);
    QString Import(const QByteArray& document, const QDBusMessage& message);
    QString ImportDesktopAppFolders(const QDBusMessage& message);
    QString Backups(const QDBusMessage& message);
    void Restore(const QString& backup, const QDBusMessage& message);

private:
    // The outcome's text as the return value, or its failure as the call's error.
    QString answer(const FolderCommands::Outcome& outcome, const QDBusMessage& message);
    void answerLater(const QDBusMessage& message, const std::function<void(FolderCommands::Done)>& command);

    QDBusConnection m_bus;
    FolderCommands& m_commands;
};
