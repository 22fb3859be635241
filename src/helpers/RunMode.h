#pragma once

#include <QString>
#include <QUuid>

#include <optional>

class Bundle;
class UserDefaults;

// Whether this process is the main application or the helper of one folder. Nothing caches
// the answer: every question reads the running bundle's Info.plist again.
class RunMode {
public:
    RunMode(const Bundle& mainBundle, UserDefaults& defaults);

    // TRGroupUUID of the running bundle, mirrored to the "group" default (removed when absent).
    std::optional<QString> currentGroupID() const;
    bool isHelperProcess() const { return helperFolderID().has_value(); }
    // The folder this helper serves: currentGroupID when it parses as a UUID.
    std::optional<QUuid> helperFolderID() const;

private:
    const Bundle& m_mainBundle;
    UserDefaults& m_defaults;
};
