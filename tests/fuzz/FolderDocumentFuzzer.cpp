// An imported folders document, written by anyone: any bytes are either refused with one line
// that says why, or give folders that export and import again as the same folders, in the same bytes.
#include "FuzzSupport.h"

#include "model/FolderCodec.h"
#include "model/FolderDocument.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
    const auto decoded = FolderDocument::decode(Fuzz::bytes(data, size), now);
    if (const auto* failure = std::get_if<FolderDocument::Failure>(&decoded)) {
        const QString line = FolderDocument::describe(*failure);
        Fuzz::require(!line.isEmpty() && !line.contains(u'\n') && !line.contains(u'\r'), "a refusal is not one line",
                      line);
        return 0;
    }
    const QList<AppFolder>& folders = std::get<QList<AppFolder>>(decoded);
    QSet<QUuid> ids;
    for (const AppFolder& folder : folders)
        ids.insert(folder.id);
    Fuzz::require(ids.size() == folders.size(), "an accepted document repeats an id", {});

    QString error;
    const std::optional<QByteArray> exported = FolderDocument::encode(folders, &error);
    Fuzz::require(exported.has_value(), "accepted folders cannot be exported", error);
    const auto again = FolderDocument::decode(*exported, now.addSecs(1));
    Fuzz::require(std::holds_alternative<QList<AppFolder>>(again), "an export is refused",
                  QString::fromUtf8(*exported));
    Fuzz::require(FolderCodec::encode(std::get<QList<AppFolder>>(again)) == FolderCodec::encode(folders),
                  "folders changed on the way back", QString::fromUtf8(*exported));
    return 0;
}
