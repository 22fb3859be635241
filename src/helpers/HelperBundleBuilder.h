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

    // The ".app" entries of the helpers directory, in listing order, whoever made them.
    QStringList helperBundlePaths();
    // TRGroupUUID of a bundle's Info.plist as stored; invalid when unreadable or absent.
    static QVariant groupIDOf(const QString& bundlePath);
    // The folder id a bundle was built for, when this application built it: a folder of its own
    // (not a link to one) whose Contents/Info.plist, a regular file, carries this application's
    // bundle identifier and a TRGroupUUID string. None for anything else, which is never
    // changed, signed, launched or deleted.
    std::optional<QString> ownGroupID(const QString& bundlePath) const;
    // Removes what an interrupted build left in the helpers directory.
    void removeUnfinishedBuilds();

    std::optional<QString> helperBundleURL(const QUuid& folderID);
    std::optional<QString> buildHelperBundle(const AppFolder& folder);
    bool isHelperExecutableOutdated(const QString& helperPath, const QString& applicationPath) const;
    std::optional<QString> signingIdentity() const;
    static void stripExtendedAttributes(const QString& bundlePath);

private:
    // The destination for a folder: its file name, or the next free "<stem> N.app" when the
    // name is taken by another folder's bundle.
    QString destinationFor(const AppFolder& folder);
    // Copies the application into a new folder inside the helpers directory and stamps it for
    // the folder; none (with the reason printed) when that fails.
    std::optional<QString> buildInNewFolder(const AppFolder& folder);
    // Puts a finished build at `destination`, setting aside whatever stood there.
    bool moveIntoPlace(const QString& build, const QString& destination);
    void shareCode(const QString& bundlePath) const;
    bool sign(const QString& path);
    std::optional<QString> lookUpSigningIdentity() const;

    const QString& ownIdentifier() const;

    // Folders of builds under way, and of old bundles being replaced; left over only by a
    // build that was cut short.
    static constexpr const char* kBuildPrefix = ".trellin-build-";
    static constexpr const char* kReplacedPrefix = ".trellin-replaced-";

    QString m_applicationSupport;
    const Bundle& m_mainBundle;
    QString m_signingTool;
    SystemLog& m_systemLog;
    QString m_helpersDir;
    mutable std::optional<std::optional<QString>> m_signingIdentity;
    mutable QString m_ownIdentifier;
};
