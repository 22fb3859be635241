#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

class Bundle;
class UserDefaults;

// Whether this process is the main application or the helper of one folder. Nothing caches
// the answer: every question reads the running bundle's Info.plist again.
class RunMode {
public:
    // The argument, followed by the folder id, with which the main application launches a helper.
    static constexpr QLatin1String groupArgument{"-group"};

    // `arguments`: the process arguments, program first.
    RunMode(const Bundle& mainBundle, UserDefaults& defaults, QStringList arguments);

    // TRGroupUUID of the running bundle, mirrored to the "group" default (removed when absent).
    // The mirror is written only when it differs from what this process last mirrored: every
    // helper shares the defaults file and holds a different id, so writing it at every call
    // would have each helper rewrite the file the others just wrote.
    std::optional<QString> currentGroupID() const;
    bool isHelperProcess() const { return helperFolderID().has_value(); }
    // The folder this helper serves: currentGroupID when it parses as a UUID.
    std::optional<QUuid> helperFolderID() const;
    // The process was started with "-group", as the main application starts helpers.
    bool startedWithGroupArgument() const { return m_arguments.contains(groupArgument); }
    // Started with "-group" and a folder id that the running bundle was not stamped with (or
    // from a bundle that is no helper at all). Such a process must not run: as a main
    // application it would take over the folders and the helpers.
    bool groupArgumentContradictsBundle() const;
    // The arguments that launch the helper of a folder.
    static QStringList helperArguments(const QUuid& folderID);

private:
    const Bundle& m_mainBundle;
    UserDefaults& m_defaults;
    QStringList m_arguments;
    // What this process last mirrored to "group" (an empty optional inside: it removed the key);
    // none before the first call.
    mutable std::optional<std::optional<QString>> m_mirrored;
};
