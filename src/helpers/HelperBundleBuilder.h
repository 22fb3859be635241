#pragma once

#include "model/AppFolder.h"

#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVariant>

#include <optional>

class Bundle;
class SystemLog;

// The file-system side of helper bundles: each folder in the Dock has a copy of the application
// bundle in "<Application Support>/Trellin/Helpers" (its executable and modules hard links to the
// application's where possible), stamped with the folder's id and name and signed again, so that
// it runs as an application of its own.
class HelperBundleBuilder {
public:
    // `signingTool` takes the platform code-signing tool's arguments.
    HelperBundleBuilder(const QString& applicationSupportDirectory, const Bundle& mainBundle, QString signingTool,
                        SystemLog& systemLog);

    // Created on first use; a creation error is ignored.
    const QString& helpersDir();

    // The bundle's file name for a folder name: the first 30 characters without the forbidden
    // ones, "Group" when nothing is left, then ".app".
    static QString helperFileName(const QString& folderName);

    // The ".app" entries of the helpers directory, in listing order.
    QStringList helperBundlePaths();
    // TRGroupUUID of a bundle's Info.plist as stored; invalid when unreadable or absent.
    static QVariant groupIDOf(const QString& bundlePath);

    std::optional<QString> helperBundleURL(const QUuid& folderID);
    std::optional<QString> buildHelperBundle(const AppFolder& folder);
    bool isHelperExecutableOutdated(const QString& helperPath, const QString& applicationPath) const;
    std::optional<QString> signingIdentity() const;
    static void stripExtendedAttributes(const QString& bundlePath);

private:
    // The destination for a folder: its file name, or the next free "<stem> N.app" when the
    // name is taken by another folder's bundle.
    QString destinationFor(const AppFolder& folder);
    void shareCode(const QString& bundlePath) const;
    bool sign(const QString& path);
    std::optional<QString> lookUpSigningIdentity() const;

    QString m_applicationSupport;
    const Bundle& m_mainBundle;
    QString m_signingTool;
    SystemLog& m_systemLog;
    QString m_helpersDir;
    mutable std::optional<std::optional<QString>> m_signingIdentity;
};
