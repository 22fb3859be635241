#include "FolderEncodings.h"

#include "FolderCodec.h"

namespace {

// Everything the text holds; folders have no equality of their own.
bool sameContent(const AppFolder& a, const AppFolder& b) {
    return a.id == b.id && a.name == b.name && a.emoji == b.emoji && a.apps == b.apps && a.isInDock == b.isInDock &&
           a.tileStyle == b.tileStyle && a.createdAt == b.createdAt;
}

} // namespace

std::optional<QByteArray> FolderEncodings::encode(const QList<AppFolder>& folders, QString* error) {
    QHash<QUuid, Entry> entries;
    entries.reserve(folders.size());
    QList<QByteArray> texts;
    texts.reserve(folders.size());
    for (qsizetype i = 0; i < folders.size(); ++i) {
        const AppFolder& folder = folders.at(i);
        const auto known = m_entries.constFind(folder.id);
        if (known != m_entries.cend() && sameContent(known->folder, folder)) {
            texts.append(known->text);
            entries.insert(folder.id, *known);
            continue;
        }
        std::optional<QByteArray> text = FolderCodec::encodeFolder(folder, i, error);
        if (!text)
            return std::nullopt;
        texts.append(*text);
        entries.insert(folder.id, {folder, std::move(*text)});
    }
    m_entries = std::move(entries);
    return FolderCodec::joinFolders(texts);
}
