#pragma once

#include <QString>
#include <QUuid>

// One application in a folder.
struct AppItem {
    QUuid id;
    QString name;
    QString bundleID;
    // The location's absolute URL string ("file:///Applications/Calculator.app/"), kept as
    // stored so that reading and writing the folders file never rewrites it.
    QString appURL;

    bool operator==(const AppItem&) const = default;

    // A file URL for a local path: percent-encoded, with a final "/" when it names a directory.
    static QString fileURLForPath(const QString& path, bool isDirectory);
    // The local path of `appURL`; empty when it is not a file URL.
    QString path() const;
};

size_t qHash(const AppItem& item, size_t seed = 0);
