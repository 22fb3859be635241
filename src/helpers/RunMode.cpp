#include "RunMode.h"
#include "platform/Protocol.h"

#include "model/FolderID.h"
#include "platform/Bundle.h"
#include "platform/UserDefaults.h"

namespace {
const QString kGroupKey = QStringLiteral("group");
}

RunMode::RunMode(const Bundle& mainBundle, UserDefaults& defaults, QStringList arguments)
    : m_mainBundle(mainBundle)
    , m_defaults(defaults)
    , m_arguments(std::move(arguments)) {}

std::optional<QString> RunMode::currentGroupID() const {
    const QVariant value = m_mainBundle.infoValue(Protocol::groupIDKey);
    std::optional<QString> groupID;
    if (value.typeId() == QMetaType::QString && !value.toString().isEmpty())
        groupID = value.toString();
    if (!m_mirrored || *m_mirrored != groupID) {
        if (groupID)
            m_defaults.setObject(kGroupKey, *groupID);
        else
            m_defaults.removeObject(kGroupKey);
        m_mirrored = groupID;
    }
    return groupID;
}

std::optional<QUuid> RunMode::helperFolderID() const {
    const std::optional<QString> groupID = currentGroupID();
    if (!groupID)
        return std::nullopt;
    return FolderID::parse(*groupID);
}

QStringList RunMode::helperArguments(const QUuid& folderID) {
    return {groupArgument, FolderID::canonical(folderID)};
}

bool RunMode::groupArgumentContradictsBundle() const {
    const qsizetype at = m_arguments.indexOf(groupArgument);
    if (at < 0)
        return false;
    // Read without mirroring to the defaults: nothing is written before this is settled.
    const QVariant stamped = m_mainBundle.infoValue(Protocol::groupIDKey);
    const std::optional<QUuid> bundleFolder =
        stamped.typeId() == QMetaType::QString ? FolderID::parse(stamped.toString()) : std::nullopt;
    const std::optional<QUuid> argumentFolder = FolderID::parse(m_arguments.value(at + 1));
    return !bundleFolder || !argumentFolder || *bundleFolder != *argumentFolder;
}
