// Update feeds as fetched from the network: reading any document, picking the newest release
// and comparing it with the running version.
#include "FuzzSupport.h"

#include "Appcast.h"
#include "VersionComparison.h"

#include <QStringList>

namespace {

int sign(int value) {
    return (value > 0) - (value < 0);
}

// The ordering newest() and check() rely on: the same answer either way round.
void requireConsistentOrder(const QString& a, const QString& b) {
    Fuzz::require(sign(VersionComparison::compare(a, b)) == -sign(VersionComparison::compare(b, a)),
                  "versions compare differently either way round", a + QStringLiteral(" / ") + b);
}

void requireWebAddressOrNothing(const QString& url) {
    Fuzz::require(url.isEmpty() || Appcast::isWebAddress(url), "a feed address for the browser is no web address", url);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<Appcast::Feed> feed = Appcast::parse(Fuzz::bytes(data, size));
    if (!feed)
        return 0;

    QStringList versions;
    for (const Appcast::Item& item : feed->items) {
        Fuzz::require(!item.version.isEmpty(), "an item without a version was kept", item.title);
        requireWebAddressOrNothing(item.downloadURL);
        requireWebAddressOrNothing(item.notesLink);
        Fuzz::require(VersionComparison::compare(item.version, item.version) == 0, "a version differs from itself",
                      item.version);
        versions << item.version << item.shortVersion;
    }
    // Pairs among the first few only: the work would grow with the square of the items.
    const qsizetype pairs = std::min<qsizetype>(versions.size(), 16);
    for (qsizetype i = 0; i < pairs; ++i) {
        for (qsizetype j = i + 1; j < pairs; ++j)
            requireConsistentOrder(versions.at(i), versions.at(j));
    }

    const std::optional<Appcast::Item> newest = Appcast::newest(*feed);
    Fuzz::require(newest.has_value() == !feed->items.isEmpty(), "a feed with items has no newest one");
    if (!newest)
        return 0;
    for (const Appcast::Item& item : feed->items)
        Fuzz::require(!VersionComparison::isNewer(item.version, newest->version), "an item is newer than the newest",
                      item.version + QStringLiteral(" > ") + newest->version);
    Fuzz::require(Appcast::check(*feed, newest->version).status == Appcast::Outcome::Status::Current,
                  "the newest release is newer than itself", newest->version);
    for (const QString& running : versions.mid(0, pairs)) {
        const Appcast::Outcome outcome = Appcast::check(*feed, running);
        Fuzz::require((outcome.status == Appcast::Outcome::Status::Newer) ==
                          VersionComparison::isNewer(newest->version, running),
                      "the check disagrees with the newest release", running);
    }
    return 0;
}
