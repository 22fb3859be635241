#include "TestHome.h"

#include "TestFiles.h"
#include "platform/PropertyList.h"

#include <QTest>

TestHome::TestHome()
    : defaults(std::make_unique<PlistUserDefaults>(path(QStringLiteral("Library/Preferences")), bundleIdentifier,
                                                   QStringList()))
    , loginItem(path(QStringLiteral("config/autostart")), bundleIdentifier, QStringLiteral("Trellin"),
                QStringLiteral("/opt/My Apps/Trellin.app/Contents/MacOS/Trellin")) {}

QString TestHome::path(const QString& relative) const {
    return relative.isEmpty() ? directory.path() : directory.filePath(relative);
}

void TestHome::relaunch(const QStringList& arguments) {
    defaults =
        std::make_unique<PlistUserDefaults>(path(QStringLiteral("Library/Preferences")), bundleIdentifier, arguments);
}

QString TestHome::makeBundle(const QString& relative, const QVariantMap& info) const {
    const QString bundle = path(relative);
    if (!writeFile(bundle + QStringLiteral("/Contents/MacOS/Trellin"), "binary") ||
        !PropertyList::writeFileAtomically(bundle + QStringLiteral("/Contents/Info.plist"), info,
                                           PropertyList::Format::Xml))
        qFatal("TestHome: cannot lay out the bundle %s", qPrintable(bundle));
    return bundle;
}

void TestHome::recordLocal(const QStringList& names) {
    for (const QString& name : names)
        localNotifications.addObserver(name, [this](const Notification& n) { localPosts.append(n.name); });
}
