#include "RunMode.h"

#include "model/FolderID.h"
#include "platform/Bundle.h"
#include "platform/UserDefaults.h"

namespace {
const QString kGroupKey = QStringLiteral("group");
}

RunMode::RunMode(const Bundle& mainBundle, UserDefaults& defaults)
    : m_mainBundle(mainBundle)
    , m_defaults(defaults) {}

std::optional<QString> RunMode::currentGroupID() const {
    const QVariant value = m_mainBundle.infoValue(QStringLiteral("TRGroupUUID"));
    if (value.typeId() == QMetaType::QString && !value.toString().isEmpty()) {
        const QString groupID = value.toString();
        m_defaults.setObject(kGroupKey, groupID);
        return groupID;
    }
    m_defaults.removeObject(kGroupKey);
    return std::nullopt;
}

std::optional<QUuid> RunMode::helperFolderID() const {
    const std::optional<QString> groupID = currentGroupID();
    if (!groupID)
        return std::nullopt;
    return FolderID::parse(*groupID);
}
