#include "AppFolder.h"

#include "Timestamp.h"

AppFolder::AppFolder(const QUuid& id, const QString& name, const QString& emoji)
    : AppFolder(id, name, emoji, Timestamp::nowSinceReferenceDate()) {}

AppFolder::AppFolder(const QUuid& id, const QString& name, const QString& emoji, double createdAt)
    : id(id)
    , name(name)
    , emoji(emoji)
    , createdAt(createdAt) {}
