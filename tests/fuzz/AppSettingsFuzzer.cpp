// The settings as every process reads them at start: any bytes as the preferences file, read
// through the user defaults into the settings, which only read and stay within their ranges.
#include "FuzzSupport.h"

#include "FakeDistributedNotifications.h"
#include "VirtualClock.h"
#include "platform/Console.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/linux/PlistUserDefaults.h"
#include "platform/linux/XdgAutostartLoginItem.h"
#include "settings/AppSettings.h"

#include <QFile>

namespace {

const QString bundleIdentifier = QStringLiteral("app.trellin.Trellin");

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Fuzz::makeCoreApplication();
    // An unreadable file is reported on every input; the reports are not what is tested.
    Console::setSink([](const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString home = Fuzz::path(QStringLiteral("home"));
    PlistUserDefaults defaults(home + QStringLiteral("/Library/Preferences"), bundleIdentifier, {});
    const QByteArray input = Fuzz::bytes(data, size);
    Fuzz::writeFile(defaults.filePath(), input);

    VirtualClock clock;
    LocalNotificationCenter notifications;
    FakeDistributedNotifications distributedNotifications;
    XdgAutostartLoginItem loginItem(home + QStringLiteral("/config/autostart"), bundleIdentifier,
                                    QStringLiteral("Trellin"),
                                    QStringLiteral("/opt/Trellin.app/Contents/MacOS/Trellin"));
    AppSettings settings({
        .scheduler = clock,
        .defaults = defaults,
        .notifications = notifications,
        .distributedNotifications = distributedNotifications,
        .loginItem = loginItem,
        .bundleIdentifier = bundleIdentifier,
        .homeDirectory = home,
        .foldersFilePath = home + QStringLiteral("/share/Trellin/folders.json"),
    });
    Fuzz::require(settings.popupColumns() >= 3 && settings.popupColumns() <= 6, "the column count is out of range",
                  QString::number(settings.popupColumns()));

    // Reading the same file again finds nothing changed.
    int changes = 0;
    QObject::connect(&settings, &AppSettings::changed, [&changes](AppSettings::Field field) {
        if (field != AppSettings::Field::IsUpdating)
            ++changes;
    });
    settings.reloadFromDefaults();
    Fuzz::require(changes == 0, "rereading an unchanged file changed a setting");
    (void)settings.readOnboardingFlag();

    Fuzz::require(distributedNotifications.posted.isEmpty(), "reading the settings posted a notification");
    Fuzz::require(contentsOf(defaults.filePath()) == input, "reading the settings changed the file");
    return 0;
}
