#pragma once

#include "platform/DesktopAppFolders.h"
#include "platform/DesktopEntries.h"

// A desktop whose entries are a list the test fills, and that launches nothing.
class ListedEntries final : public DesktopEntries {
public:
    QList<Entry> installed(const QString& language) const override {
        askedLanguage = language;
        return entries;
    }
    QString iconOf(const QString&) const override { return {}; }
    std::optional<QString> launch(const QString&, const QStringList&) const override { return std::nullopt; }

    QList<Entry> entries;
    mutable QString askedLanguage;
};

// A desktop whose app-grid folders are a list the test fills.
class ListedAppFolders final : public DesktopAppFolders {
public:
    QList<DesktopAppFolder> folders() const override { return list; }

    QList<DesktopAppFolder> list;
};
