#pragma once

#include "AppFolder.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QUuid>

#include <optional>

// The folders file's text kept per folder between saves: only the folders that changed since the
// last encoding are written again, so a save after one edit costs little more than copying the text,
// however long the list.
class FolderEncodings {
public:
    // The same text as FolderCodec::encode, and the same failure.
    std::optional<QByteArray> encode(const QList<AppFolder>& folders, QString* error = nullptr);

private:
    struct Entry {
        AppFolder folder;
        QByteArray text;
    };
    QHash<QUuid, Entry> m_entries;
};
