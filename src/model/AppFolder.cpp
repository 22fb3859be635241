#include "AppFolder.h"

#include "Timestamp.h"

AppFolder::AppFolder(const QUuid& id, const QString& name, const QString& emoji)
    : AppFolder(id, name, emoji, Timestamp::nowSinceReferenceDate()) {}

AppFolder::AppFolder(const QUuid& id, const QString& name, const QString& emoji, double createdAt)
    : id(id)
    , name(name)
    , emoji(emoji)
    , createdAt(createdAt) {}

QString AppFolder::storableName(const QString& name) {
    if (!name.contains(QChar(0)))
        return name;
    QString cleaned = name;
    cleaned.remove(QChar(0));
    return cleaned;
}
