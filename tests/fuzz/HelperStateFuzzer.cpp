// The ".launch" marker a helper leaves for the main application: any bytes read as a launch
// time or as none, the marker gone afterwards, and a time written as the helpers write it read
// back exactly.
#include "FuzzSupport.h"

#include "helpers/HelperState.h"

#include <QFile>

#include <cmath>

namespace {

const QUuid folderID = QUuid::fromString(QStringLiteral("{9a3c1e57-0d2b-4f6e-8b41-7c5d2e9f0a13}"));
const QString launchSuffix = QStringLiteral(".launch");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const HelperState state(Fuzz::path(QStringLiteral("share")));
    const QString marker = state.markerPath(folderID, launchSuffix);
    Fuzz::writeFile(marker, Fuzz::bytes(data, size));

    const std::optional<double> time = state.takeLaunchMarker(folderID);
    Fuzz::require(!QFile::exists(marker), "a read launch marker was left behind");
    if (!time)
        return 0;
    Fuzz::require(std::isfinite(*time), "a launch time is not finite");

    state.writeLaunchMarker(folderID, *time);
    const std::optional<double> reread = state.takeLaunchMarker(folderID);
    Fuzz::require(reread.has_value() && *reread == *time, "a written launch time reads back differently",
                  QString::number(*time, 'g', 17));
    return 0;
}
