// Info.plist as read from any application bundle on the machine (the picker reads every one it
// finds): its identifier, name and executable, which must stay inside the bundle.
#include "FuzzSupport.h"

#include "discovery/AppDiscovery.h"
#include "platform/Bundle.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Bundle bundle(Fuzz::path(QStringLiteral("Applications/Fuzz.app")));
    Fuzz::writeFile(bundle.infoPlistPath(), Fuzz::bytes(data, size));

    const QString identifier = bundle.identifier();
    const QString executable = bundle.executablePath();
    if (!executable.isEmpty()) {
        const QString macOS = bundle.contentsPath() + QStringLiteral("/MacOS");
        Fuzz::require(QDir::cleanPath(executable).startsWith(macOS + u'/') &&
                          QDir::cleanPath(executable).lastIndexOf(u'/') == macOS.size(),
                      "the executable is not in the bundle's MacOS folder", executable);
    }

    const std::optional<AppItem> item = AppDiscovery::makeAppItem(bundle.path());
    Fuzz::require(item.has_value() == !identifier.isEmpty(), "a bundle with an identifier is no item, or the reverse",
                  identifier);
    if (item) {
        Fuzz::require(item->bundleID == identifier, "the item has another identifier than the bundle", item->bundleID);
        Fuzz::require(item->path() == bundle.path(), "the item names another location", item->appURL);
    }
    return 0;
}
