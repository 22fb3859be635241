#pragma once

#include "AppItem.h"
#include "TileStyleSettings.h"

#include <QList>
#include <QString>
#include <QUuid>

// One folder of applications. Folders have no equality of their own: compare them by id.
struct AppFolder {
    QUuid id;
    QString name;
    QString emoji; // the folder's symbol name, e.g. "folder.fill"
    QList<AppItem> apps;
    bool isInDock = false;
    TileStyleSettings tileStyle;
    double createdAt = 0; // seconds since 2001-01-01 UTC

    AppFolder() = default;
    AppFolder(const QUuid& id, const QString& name, const QString& emoji);
    AppFolder(const QUuid& id, const QString& name, const QString& emoji, double createdAt);

    // A name as the helper bundle's property list can hold it: without NUL characters, which
    // would make the bundle impossible to stamp with its folder.
    static QString storableName(const QString& name);
};
