// Global settings: defaults, conversions of stored values, what each change writes and posts,
// the onboarding flag's sources, and launch at login.
#include "settings/AppSettings.h"
#include "model/FolderCodec.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/PropertyList.h"
#include "platform/linux/PlistUserDefaults.h"
#include "platform/linux/XdgAutostartLoginItem.h"

#include "ConsoleCapture.h"
#include "FakeDistributedNotifications.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kBundleID = QStringLiteral("app.trellin.Trellin");

void writePlist(const QString& path, const QVariantMap& values, const QDateTime& modified = {}) {
    QDir().mkpath(QFileInfo(path).path());
    QVERIFY(PropertyList::writeFileAtomically(path, values, PropertyList::Format::Binary));
    if (modified.isValid()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }
}
} // namespace

class AppSettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void emptyStoreGivesDefaultsAndWritesNothing();
    void storedValuesOfOtherTypesAreConverted();
    void changesWriteAndAnnounce();
    void popupColumnsAreClamped();
    void reloadWritesAndPostsNothing();
    void onboardingFlagPrefersNewestPreferencesFile();
    void onboardingFlagFallsBackToDefaultsAndFolders();
    void onboardingFlagIsMirroredToContainer();
    void launchAtLoginWritesAutostartEntry();

private:
    std::unique_ptr<AppSettings> makeSettings();
    QString path(const QString& relative) const { return m_home->filePath(relative); }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<PlistUserDefaults> m_defaults;
    std::unique_ptr<LocalNotificationCenter> m_local;
    std::unique_ptr<FakeDistributedNotifications> m_distributed;
    std::unique_ptr<XdgAutostartLoginItem> m_loginItem;
    std::unique_ptr<ConsoleCapture> m_console;
    QStringList m_posted;
};

void AppSettingsTest::init() {
    m_home = std::make_unique<QTemporaryDir>();
    m_defaults = std::make_unique<PlistUserDefaults>(path("Library/Preferences"), kBundleID, QStringList());
    m_local = std::make_unique<LocalNotificationCenter>();
    m_distributed = std::make_unique<FakeDistributedNotifications>();
    m_loginItem = std::make_unique<XdgAutostartLoginItem>(path("config/autostart"), kBundleID, "Trellin",
                                                          "/opt/My Apps/Trellin.app/Contents/MacOS/Trellin");
    m_console = std::make_unique<ConsoleCapture>();
    m_posted.clear();
    for (const char* name :
         {"languageChanged", "showMenuBarChanged", "themeChanged", "tileAppearanceChanged", "popupSettingsChanged"})
        m_local->addObserver(name, [this](const Notification& n) { m_posted.append(n.name); });
}

void AppSettingsTest::cleanup() {
    m_console.reset();
}

std::unique_ptr<AppSettings> AppSettingsTest::makeSettings() {
    return std::make_unique<AppSettings>(AppSettings::Services{*m_defaults, *m_local, *m_distributed, *m_loginItem,
                                                               kBundleID, m_home->path(),
                                                               path("share/Trellin/folders.json")});
}

void AppSettingsTest::emptyStoreGivesDefaultsAndWritesNothing() {
    const auto s = makeSettings();
    QCOMPARE(s->language(), AppLanguage::English);
    QCOMPARE(s->appTheme(), AppThemeMode::Dark);
    QVERIFY(!s->showMenuBar());
    QVERIFY(!s->launchAtLogin());
    QVERIFY(!s->hasCompletedOnboarding());
    QCOMPARE(s->tileOpacity(), 1.0);
    QCOMPARE(s->tileCornerRadius(), 12.0);
    QCOMPARE(s->tileBackgroundStyle(), TileBackground::Frosted);
    QCOMPARE(s->tileBackgroundMode(), TileBackgroundMode::Solid);
    QVERIFY(s->tileBorderEnabled());
    QCOMPARE(s->tileBorderWidth(), 1.0);
    QCOMPARE(s->tileBorderOpacity(), 0.3);
    QCOMPARE(s->tileIconPadding(), 4.0);
    QVERIFY(s->popupShowTitle());
    QCOMPARE(s->popupColumns(), 3);
    QCOMPARE(s->popupIconSize(), 52.0);
    QVERIFY(s->popupShowAppName());
    QCOMPARE(s->popupPosition(), PopupPosition::AboveDock);
    QCOMPARE(s->popupBlurStyle(), PopupBlur::Thin);
    QCOMPARE(s->popupOpacity(), 0.95);
    QCOMPARE(s->popupAnimationStyle(), PopupAnimation::Spring);
    QVERIFY(s->singleClickOpensPopup());
    QVERIFY(!QFile::exists(m_defaults->filePath()));
    QVERIFY(m_posted.isEmpty());
    QVERIFY(m_distributed->posted.isEmpty());
    QVERIFY(!QFile::exists(m_loginItem->entryPath()));
}

void AppSettingsTest::storedValuesOfOtherTypesAreConverted() {
    writePlist(m_defaults->filePath(), {{"popupColumns", 9},
                                        {"popupIconSize", "64"},
                                        {"popupPosition", "Center"},
                                        {"appTheme", "Light"},
                                        {"language", "uk"},
                                        {"tileBackgroundStyle", "teal"},
                                        {"tileBackgroundMode", "glass"},
                                        {"tileBorderEnabled", 0},
                                        {"showMenuBar", "YES"},
                                        {"popupAnimationStyle", "none"},
                                        {"popupBlurStyle", 3},
                                        {"tileOpacity", QVariantMap{{"a", 1}}}});
    const auto s = makeSettings();
    QCOMPARE(s->popupColumns(), 6);
    QCOMPARE(s->popupIconSize(), 64.0);
    QCOMPARE(s->popupPosition(), PopupPosition::AboveDock); // matching is exact
    QCOMPARE(s->appTheme(), AppThemeMode::Dark);
    QCOMPARE(s->language(), AppLanguage::Ukrainian);
    QCOMPARE(s->tileBackgroundStyle(), TileBackground::Frosted);
    QCOMPARE(s->tileBackgroundMode(), TileBackgroundMode::Glass);
    QVERIFY(!s->tileBorderEnabled());
    QVERIFY(s->showMenuBar());
    QCOMPARE(s->popupAnimationStyle(), PopupAnimation::None);
    QCOMPARE(s->popupBlurStyle(), PopupBlur::Thin);
    QCOMPARE(s->tileOpacity(), 0.0);                        // present but not a number
    QCOMPARE(m_defaults->integerForKey("popupColumns"), 9); // reading never writes
}

void AppSettingsTest::changesWriteAndAnnounce() {
    const auto s = makeSettings();
    QSignalSpy changed(s.get(), &AppSettings::changed);

    // The same value still writes and posts, but observers hear nothing.
    s->setShowMenuBar(false);
    QCOMPARE(m_defaults->object("showMenuBar"), QVariant(false));
    QCOMPARE(m_posted, QStringList{"showMenuBarChanged"});
    QCOMPARE(changed.count(), 0);

    m_posted.clear();
    s->setLanguage(AppLanguage::Ukrainian);
    QCOMPARE(m_defaults->object("language"), QVariant("uk"));
    QCOMPARE(m_defaults->object("AppleLanguages"), QVariant(QVariantList{"uk"}));
    QCOMPARE(m_posted, QStringList{"languageChanged"});
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().value<AppSettings::Field>(), AppSettings::Field::Language);

    m_posted.clear();
    s->setAppTheme(AppThemeMode::Light);
    QCOMPARE(m_defaults->object("appTheme"), QVariant("light"));
    QCOMPARE(m_posted, QStringList{"themeChanged"});
    QCOMPARE(m_distributed->posted.size(), 1);
    QCOMPARE(m_distributed->posted.first().name, "TRThemeChanged");

    m_posted.clear();
    s->setTileBackgroundStyle(TileBackground::Purple);
    s->setTileIconPadding(6);
    s->setPopupBlurStyle(PopupBlur::Dark);
    s->setSingleClickOpensPopup(false);
    QCOMPARE(m_posted, (QStringList{"tileAppearanceChanged", "tileAppearanceChanged", "popupSettingsChanged"}));
    QCOMPARE(m_defaults->object("tileBackgroundStyle"), QVariant("purple"));
    QCOMPARE(m_defaults->doubleForKey("tileIconPadding"), 6.0);
    QCOMPARE(m_defaults->object("popupBlurStyle"), QVariant("dark"));
    QCOMPARE(m_defaults->object("singleClickOpensPopup"), QVariant(false));

    // The arrow offset is never stored.
    s->setPopupArrowOffset(12.5);
    QVERIFY(!m_defaults->hasObject("popupArrowOffset"));

    // A new process reads what this one wrote.
    const auto again = makeSettings();
    QCOMPARE(again->language(), AppLanguage::Ukrainian);
    QCOMPARE(again->tileBackgroundStyle(), TileBackground::Purple);
    QVERIFY(!again->singleClickOpensPopup());
}

void AppSettingsTest::popupColumnsAreClamped() {
    const auto s = makeSettings();
    s->setPopupColumns(1);
    QCOMPARE(s->popupColumns(), 3);
    QCOMPARE(m_defaults->integerForKey("popupColumns"), 3);
    QCOMPARE(m_posted, QStringList{"popupSettingsChanged"});

    m_posted.clear();
    s->setPopupColumns(5);
    s->setPopupColumns(40);
    QCOMPARE(s->popupColumns(), 6);
    QCOMPARE(m_defaults->integerForKey("popupColumns"), 6);
    QCOMPARE(m_posted.size(), 2);
}

void AppSettingsTest::reloadWritesAndPostsNothing() {
    const auto s = makeSettings();
    // Another process changes the stored values.
    PlistUserDefaults other(path("Library/Preferences"), kBundleID, {});
    other.setObject("appTheme", "light");
    other.setObject("popupColumns", 5);
    other.setObject("launchAtLogin", true);
    other.setObject("hasCompletedOnboarding", true);
    const QByteArray before = readFile(m_defaults->filePath());

    QSignalSpy changed(s.get(), &AppSettings::changed);
    s->reloadFromDefaults();
    QCOMPARE(s->appTheme(), AppThemeMode::Light);
    QCOMPARE(s->popupColumns(), 5);
    QVERIFY(s->launchAtLogin());
    QVERIFY(!s->hasCompletedOnboarding()); // read once, at creation
    QVERIFY(!s->isUpdating());
    QVERIFY(changed.count() >= 3);
    QCOMPARE(readFile(m_defaults->filePath()), before);
    QVERIFY(m_posted.isEmpty());
    QVERIFY(m_distributed->posted.isEmpty());
    QVERIFY(!QFile::exists(m_loginItem->entryPath()));
}

void AppSettingsTest::onboardingFlagPrefersNewestPreferencesFile() {
    const QDateTime ten(QDate(2026, 3, 1), QTime(10, 0), Qt::UTC);
    const auto s = makeSettings();
    writePlist(s->ordinaryPreferencesPath(), {{"hasCompletedOnboarding", false}}, ten);
    writePlist(s->containerPreferencesPath(), {{"hasCompletedOnboarding", 1}}, ten.addSecs(300));
    QVERIFY(makeSettings()->hasCompletedOnboarding());

    writePlist(s->containerPreferencesPath(), {{"hasCompletedOnboarding", true}}, ten);
    QVERIFY(!makeSettings()->hasCompletedOnboarding()); // equal dates keep the ordinary file

    // A snapshot needs a bool or a number: otherwise the other file decides.
    writePlist(s->ordinaryPreferencesPath(), {{"hasCompletedOnboarding", "no"}}, ten.addSecs(600));
    QVERIFY(makeSettings()->hasCompletedOnboarding());
}

void AppSettingsTest::onboardingFlagFallsBackToDefaultsAndFolders() {
    // A string in the defaults gives no snapshot, but reads through the defaults' conversion.
    m_defaults->setObject("hasCompletedOnboarding", "YES");
    QVERIFY(makeSettings()->hasCompletedOnboarding());
    m_defaults->removeObject("hasCompletedOnboarding");

    const QString folders = path("share/Trellin/folders.json");
    QDir().mkpath(QFileInfo(folders).path());
    QFile file(folders);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"([{"id":"6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"Work"}])");
    file.close();
    QVERIFY(makeSettings()->hasCompletedOnboarding());

    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[]");
    file.close();
    QVERIFY(!makeSettings()->hasCompletedOnboarding());

    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("not json");
    file.close();
    QVERIFY(!makeSettings()->hasCompletedOnboarding());
}

void AppSettingsTest::onboardingFlagIsMirroredToContainer() {
    const auto s = makeSettings();
    writePlist(s->containerPreferencesPath(), {{"keep", "me"}});
    s->setHasCompletedOnboarding(true);
    QVERIFY(m_defaults->boolForKey("hasCompletedOnboarding"));
    const auto container = PropertyList::readFile(s->containerPreferencesPath());
    QVERIFY(container);
    QCOMPARE(container->format, PropertyList::Format::Xml);
    QCOMPARE(container->root.toMap(), (QVariantMap{{"keep", "me"}, {"hasCompletedOnboarding", true}}));
}

void AppSettingsTest::launchAtLoginWritesAutostartEntry() {
    const auto s = makeSettings();
    s->setLaunchAtLogin(true);
    QCOMPARE(m_defaults->object("launchAtLogin"), QVariant(true));
    const QByteArray entry = readFile(m_loginItem->entryPath());
    QVERIFY(entry.startsWith("[Desktop Entry]\n"));
    QVERIFY(entry.contains("\nType=Application\n"));
    QVERIFY(entry.contains("\nExec=\"/opt/My Apps/Trellin.app/Contents/MacOS/Trellin\"\n"));
    QVERIFY(m_console->lines.isEmpty());

    s->setLaunchAtLogin(false);
    QVERIFY(!QFile::exists(m_loginItem->entryPath()));
    s->setLaunchAtLogin(false); // unregistering what is not there is fine
    QVERIFY(m_console->lines.isEmpty());

    // A file where the autostart folder should be: the failure is told, the value kept.
    QFile blocker(path("config/autostart"));
    QDir().mkpath(path("config"));
    QDir(path("config/autostart")).removeRecursively();
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    s->setLaunchAtLogin(true);
    QVERIFY(s->launchAtLogin());
    QCOMPARE(m_console->lines.size(), 1);
    QVERIFY(m_console->lines.first().startsWith("Failed to update launch at login: "));
}

QTEST_GUILESS_MAIN(AppSettingsTest)
#include "AppSettingsTest.moc"
