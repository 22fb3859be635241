// The folders file as read at start-up: any bytes either fail as a whole or give folders that
// are written out and read back as the same folders, in the same bytes.
#include "FuzzSupport.h"

#include "model/FolderCodec.h"
#include "model/FolderID.h"

namespace {

bool sameFolder(const AppFolder& a, const AppFolder& b) {
    return a.id == b.id && a.name == b.name && a.emoji == b.emoji && a.apps == b.apps && a.isInDock == b.isInDock &&
           a.tileStyle == b.tileStyle && a.createdAt == b.createdAt;
}

QString idOf(const AppFolder& folder) {
    return FolderID::canonical(folder.id);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Any moment will do for a missing creation time: once written, it is stored.
    constexpr double now = 786'000'000;
    const std::optional<QList<AppFolder>> folders = FolderCodec::decode(Fuzz::bytes(data, size), now);
    if (!folders)
        return 0;

    QString error;
    const std::optional<QByteArray> encoded = FolderCodec::encode(*folders, &error);
    Fuzz::require(encoded.has_value(), "decoded folders cannot be encoded", error);
    const std::optional<QList<AppFolder>> again = FolderCodec::decode(*encoded, now + 1, &error);
    Fuzz::require(again.has_value(), "encoded folders cannot be decoded", error);
    Fuzz::require(again->size() == folders->size(), "the folder count changed", QString::fromUtf8(*encoded));
    for (qsizetype i = 0; i < folders->size(); ++i)
        Fuzz::require(sameFolder(folders->at(i), again->at(i)), "a folder changed on the way back",
                      idOf(folders->at(i)));
    Fuzz::require(FolderCodec::encode(*again) == encoded, "encoding again gives other bytes",
                  QString::fromUtf8(*encoded));
    return 0;
}
