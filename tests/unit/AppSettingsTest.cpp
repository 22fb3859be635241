// Global settings: keys and defaults, conversions of stored values, what each change writes and
// posts, the onboarding flag's sources, and launch at login.
#include "settings/AppSettings.h"
#include "platform/DesktopColorScheme.h"
#include "platform/PropertyList.h"
#include "settings/SettingFields.h"

#include "TestFiles.h"
#include "TestSettings.h"
#include "VirtualClock.h"

#include <QMetaEnum>
#include <QSignalSpy>
#include <algorithm>

#include <QTest>

#include <limits>
#include <unistd.h>

using Field = AppSettings::Field;

namespace {
void writePlist(const QString& path, const QVariantMap& values, const QDateTime& modified = {}) {
    QDir().mkpath(QFileInfo(path).path());
    QVERIFY(PropertyList::writeFileAtomically(path, values, PropertyList::Format::Binary));
    QFile file(path);
    QVERIFY(!modified.isValid() ||
            (file.open(QIODevice::ReadWrite) && file.setFileTime(modified, QFileDevice::FileModificationTime)));
}

// A desktop whose preference the test sets.
class SettableDesktop final : public DesktopColorScheme {
public:
    DesktopAppearance appearance() const override { return m_appearance; }
    void observe(std::function<void()> handler) override { m_handlers.push_back(std::move(handler)); }
    void set(DesktopAppearance appearance) {
        m_appearance = appearance;
        for (const auto& handler : m_handlers)
            handler();
    }

private:
    DesktopAppearance m_appearance = DesktopAppearance::NoPreference;
    std::vector<std::function<void()>> m_handlers;
};
} // namespace

class AppSettingsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> m_home;
    VirtualClock m_clock;

    std::unique_ptr<AppSettings> makeSettings() { return makeTestSettings(*m_home, m_clock); }

private Q_SLOTS:
    void init() {
        m_clock = VirtualClock();
        m_home = std::make_unique<TestHome>();
        m_home->recordLocal({"languageChanged", "showMenuBarChanged", "themeChanged", "tileAppearanceChanged",
                             "popupSettingsChanged", "dockHostChanged"});
    }
    // Before the next home is made: a home's console capture ends with it.
    void cleanup() { m_home.reset(); }

    // "system" is stored as written and drawn as the desktop asks. A change on the desktop is this
    // process's news only: nothing is written or posted, as every process asks the desktop itself.
    void systemThemeFollowsTheDesktop() {
        SettableDesktop desktop;
        const auto s = makeTestSettings(*m_home, m_clock, &desktop);
        QCOMPARE(s->resolvedTheme(), AppThemeMode::Dark);
        s->setAppTheme(AppThemeMode::System);
        QCOMPARE(m_home->defaults->object("appTheme"), QVariant("system"));
        QCOMPARE(s->resolvedTheme(), AppThemeMode::Light); // no preference stated

        QSignalSpy changed(s.get(), &AppSettings::changed);
        const QStringList postedBefore = m_home->localPosts;
        const auto broadcastBefore = m_home->distributedNotifications.posted.size();
        desktop.set(DesktopAppearance::Dark);
        QCOMPARE(s->resolvedTheme(), AppThemeMode::Dark);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().value<Field>(), Field::AppTheme);
        QCOMPARE(s->appTheme(), AppThemeMode::System);
        QCOMPARE(m_home->localPosts, postedBefore);
        QCOMPARE(m_home->distributedNotifications.posted.size(), broadcastBefore);
        QCOMPARE(m_home->defaults->object("appTheme"), QVariant("system"));

        // Another process reads the choice back, not the look it resolved to.
        const auto reader = makeTestSettings(*m_home, m_clock, &desktop);
        QCOMPARE(reader->appTheme(), AppThemeMode::System);
        QCOMPARE(reader->resolvedTheme(), AppThemeMode::Dark);
        // Without a desktop to ask, "system" draws light.
        QCOMPARE(makeTestSettings(*m_home, m_clock)->resolvedTheme(), AppThemeMode::Light);

        // A theme of its own no longer follows the desktop.
        s->setAppTheme(AppThemeMode::Light);
        changed.clear();
        desktop.set(DesktopAppearance::Light);
        desktop.set(DesktopAppearance::Dark);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(s->resolvedTheme(), AppThemeMode::Light);
    }

    void emptyStoreGivesDefaultsUnderFixedKeys() {
        // Stored preferences outlive every build, so the keys never change; the two transient fields have none.
        const QMetaEnum fields = QMetaEnum::fromType<Field>();
        QCOMPARE(qsizetype(settingFields().size()), qsizetype(fields.keyCount()));
        QStringList keys;
        for (int i = 0; i < fields.keyCount(); ++i)
            keys.append(AppSettings::key(Field(fields.value(i))));
        QCOMPARE(keys.join(u','), ",launchAtLogin,language,showMenuBar,appTheme,hasCompletedOnboarding,tileOpacity,"
                                  "tileCornerRadius,tileBackgroundStyle,tileBackgroundMode,tileBorderEnabled,"
                                  "tileBorderWidth,tileBorderOpacity,tileIconPadding,popupShowTitle,popupColumns,"
                                  "popupIconSize,popupShowAppName,popupPosition,popupBlurStyle,popupOpacity,"
                                  "popupAnimationStyle,singleClickOpensPopup,,dockHost");

        const auto s = makeSettings();
        QCOMPARE((QStringList{rawValue(s->language()), rawValue(s->appTheme()), rawValue(s->tileBackgroundStyle()),
                              rawValue(s->tileBackgroundMode()), rawValue(s->popupPosition()),
                              rawValue(s->popupBlurStyle()), rawValue(s->popupAnimationStyle())}),
                 (QStringList{"en", "dark", "frosted", "solid", "aboveDock", "thin", "spring"}));
        QCOMPARE(s->popupColumns(), 3);
        // Menu bar, launch at login, onboarding; tile border, popup title, app names, single click.
        QCOMPARE((QList<bool>{s->showMenuBar(), s->launchAtLogin(), s->hasCompletedOnboarding(), s->tileBorderEnabled(),
                              s->popupShowTitle(), s->popupShowAppName(), s->singleClickOpensPopup()}),
                 (QList<bool>{false, false, false, true, true, true, true}));
        // Tile opacity, corner radius, border width and opacity, icon padding; popup icon size, opacity.
        QCOMPARE((QList<double>{s->tileOpacity(), s->tileCornerRadius(), s->tileBorderWidth(), s->tileBorderOpacity(),
                                s->tileIconPadding(), s->popupIconSize(), s->popupOpacity()}),
                 (QList<double>{1.0, 12.0, 1.0, 0.3, 4.0, 52.0, 0.95}));
        QVERIFY(!QFile::exists(m_home->defaults->filePath()));
        QVERIFY(m_home->localPosts.isEmpty() && m_home->distributedNotifications.posted.isEmpty());
    }

    void storedValuesOfOtherTypesAreConverted() {
        const QVariantMap notANumber{{"a", 1}};
        const QVariantMap values{
            {"popupColumns", 9},        {"popupIconSize", "64"},         {"popupPosition", "Center"},
            {"appTheme", "Light"},      {"tileBackgroundStyle", "teal"}, {"tileBackgroundMode", "glass"},
            {"tileBorderEnabled", 0},   {"showMenuBar", "YES"},          {"popupBlurStyle", 3},
            {"tileOpacity", notANumber}};
        writePlist(m_home->defaults->filePath(), values);
        const auto s = makeSettings();
        QCOMPARE(s->popupColumns(), 6);
        QCOMPARE(s->popupIconSize(), 64.0);
        // Matching is exact ("Center", "Light"); what matches no case, or is no string, gives the default.
        QCOMPARE((QStringList{rawValue(s->popupPosition()), rawValue(s->appTheme()), rawValue(s->tileBackgroundStyle()),
                              rawValue(s->tileBackgroundMode()), rawValue(s->popupBlurStyle())}),
                 (QStringList{"aboveDock", "dark", "frosted", "glass", "thin"}));
        QVERIFY(!s->tileBorderEnabled() && s->showMenuBar());
        QCOMPARE(s->tileOpacity(), 0.0);                              // present but not a number
        QCOMPARE(m_home->defaults->integerForKey("popupColumns"), 9); // reading never writes
    }

    void changesWriteAndAnnounce() {
        const auto s = makeSettings();
        PlistUserDefaults& stored = *m_home->defaults;
        QStringList& posted = m_home->localPosts;
        QSignalSpy changed(s.get(), &AppSettings::changed);

        // The same value still writes and posts, but observers hear nothing.
        s->setShowMenuBar(false);
        QCOMPARE(stored.object("showMenuBar"), QVariant(false));
        QCOMPARE(posted, QStringList{"showMenuBarChanged"});
        QCOMPARE(changed.count(), 0);

        s->setLanguage(AppLanguage::Ukrainian);
        QCOMPARE(stored.object("language"), QVariant("uk"));
        QCOMPARE(stored.object("AppleLanguages"), QVariant(QVariantList{"uk"}));
        QCOMPARE(changed.count(), 1);

        s->setAppTheme(AppThemeMode::Light);
        QCOMPARE(stored.object("appTheme"), QVariant("light"));
        QCOMPARE(m_home->distributedNotifications.posted.size(), 1);
        QCOMPARE(m_home->distributedNotifications.posted.first().name, "TRThemeChanged");

        // The single-click choice is stored but announced to nobody; the arrow offset is not even stored.
        s->setTileBackgroundStyle(TileBackground::Purple);
        s->setTileIconPadding(6);
        s->setPopupBlurStyle(PopupBlur::Dark);
        s->setSingleClickOpensPopup(false);
        s->setPopupArrowOffset(12.5);
        QCOMPARE(posted, (QStringList{"showMenuBarChanged", "languageChanged", "themeChanged", "tileAppearanceChanged",
                                      "tileAppearanceChanged", "popupSettingsChanged"}));
        QCOMPARE(stored.object("tileIconPadding"), QVariant(6.0));
        QCOMPARE(stored.object("singleClickOpensPopup"), QVariant(false));
        QVERIFY(!stored.hasObject("popupArrowOffset"));

        // Out of range, the columns are stored and held clamped, and announced once.
        posted.clear();
        s->setPopupColumns(1);
        QCOMPARE(s->popupColumns(), 3);
        QCOMPARE(stored.object("popupColumns"), QVariant(qint64(3)));
        QCOMPARE(posted, QStringList{"popupSettingsChanged"});
        s->setPopupColumns(40);
        QCOMPARE(stored.object("popupColumns"), QVariant(qint64(6)));
        QCOMPARE(posted.size(), 2);
    }

    void reloadWritesAndPostsNothing() {
        const auto s = makeSettings();
        // Another process changes the stored values.
        m_home->defaults->setObject("appTheme", "light");
        m_home->defaults->setObject("popupColumns", 5);
        m_home->defaults->setObject("hasCompletedOnboarding", true);
        // Launch at login is what is registered, whatever the key says: here registered elsewhere.
        m_home->defaults->setObject("launchAtLogin", false);
        QCOMPARE(m_home->loginItem.registerMainApp(), std::nullopt);
        const QByteArray before = readFile(m_home->defaults->filePath());
        const QByteArray entry = readFile(m_home->loginItem.entryPath());

        // Observers see the reload begin, the values that change, and its end.
        QList<std::pair<Field, bool>> heard; // each field and whether a reload was under way
        connect(s.get(), &AppSettings::changed, this, [&](Field field) { heard.append({field, s->isUpdating()}); });
        s->reloadFromDefaults();
        QCOMPARE(heard, (QList<std::pair<Field, bool>>{{Field::IsUpdating, true},
                                                       {Field::LaunchAtLogin, true},
                                                       {Field::AppTheme, true},
                                                       {Field::PopupColumns, true},
                                                       {Field::IsUpdating, false}}));
        QVERIFY(s->launchAtLogin() && s->appTheme() == AppThemeMode::Light && s->popupColumns() == 5);
        QVERIFY(!s->hasCompletedOnboarding()); // read once, at creation
        QCOMPARE(readFile(m_home->defaults->filePath()), before);
        QVERIFY(m_home->localPosts.isEmpty() && m_home->distributedNotifications.posted.isEmpty());
        QCOMPARE(readFile(m_home->loginItem.entryPath()), entry);

        // A value unequal to itself read again is no change.
        m_home->defaults->setObject("popupOpacity", std::numeric_limits<double>::quiet_NaN());
        s->reloadFromDefaults();
        heard.clear();
        s->reloadFromDefaults();
        QCOMPARE(heard, (QList<std::pair<Field, bool>>{{Field::IsUpdating, true}, {Field::IsUpdating, false}}));
    }

    void aDragWritesAFewTimesASecondAndItsLastValueLands() {
        auto s = makeSettings();
        PlistUserDefaults& stored = *m_home->defaults;
        QSignalSpy changed(s.get(), &AppSettings::changed);

        // A slider dragged for a second, sixty values: the field follows each one at once, the
        // store and the other processes a few times a second.
        for (int step = 1; step <= 60; ++step) {
            s->setPopupIconSize(40.0 + step);
            QCOMPARE(s->popupIconSize(), 40.0 + step);
            if (step == 1)
                QCOMPARE(stored.object("popupIconSize"), QVariant(41.0));
            if (step == 30) {
                // The settings' own echo, a reload, must not take back a value not yet written.
                s->reloadFromDefaults();
                QCOMPARE(s->popupIconSize(), 70.0);
            }
            m_clock.advance(1.0 / 60);
        }
        QCOMPARE(std::count_if(changed.cbegin(), changed.cend(),
                               [](const QList<QVariant>& signal) {
                                   return signal.value(0).value<Field>() == Field::PopupIconSize;
                               }),
                 60);
        QVERIFY2(m_home->localPosts.size() <= 5, qPrintable(m_home->localPosts.join(u' ')));
        m_clock.advance(AppSettings::writeInterval);
        QCOMPARE(stored.object("popupIconSize"), QVariant(100.0));
        const qsizetype posts = m_home->localPosts.size();
        QVERIFY(posts <= 6);
        m_clock.advance(1);
        QCOMPARE(m_home->localPosts.size(), posts);

        // Choices, unlike numbers, are written at every assignment.
        s->setShowMenuBar(true);
        s->setShowMenuBar(false);
        QCOMPARE(stored.object("showMenuBar"), QVariant(false));

        // Quitting in the middle of a drag keeps the last value.
        s->setPopupOpacity(0.5);
        s->setPopupOpacity(0.6);
        s.reset();
        QCOMPARE(stored.object("popupOpacity"), QVariant(0.6));
    }

    // The dock is stored under the hosts' own ids, which the application matches against the hosts;
    // a text naming no host (a later version's, a typo) reads as the automatic choice.
    void dockHostIsStoredAsTheHostsIdAndAnythingElseIsAutomatic() {
        const auto s = makeSettings();
        QCOMPARE(s->dockHost(), DockHostChoice::Automatic);
        PlistUserDefaults& stored = *m_home->defaults;
        QSignalSpy changed(s.get(), &AppSettings::changed);
        const QList<std::pair<DockHostChoice, QString>> ids{{DockHostChoice::GnomeShell, DockHostIds::gnomeShell},
                                                            {DockHostChoice::Plank, DockHostIds::plank},
                                                            {DockHostChoice::KdePlasma, DockHostIds::kdePlasma},
                                                            {DockHostChoice::TrellinDock, DockHostIds::trellinDock},
                                                            {DockHostChoice::Automatic, DockHostIds::automatic}};
        for (const auto& [choice, id] : ids) {
            s->setDockHost(choice);
            QCOMPARE(stored.object("dockHost"), QVariant(id));
            QCOMPARE(makeSettings()->dockHost(), choice);
        }
        QCOMPARE(changed.count(), 5);
        QCOMPARE(m_home->localPosts, QStringList(5, "dockHostChanged"));
        // The same choice again is written and posted, and observers hear nothing.
        s->setDockHost(DockHostChoice::Automatic);
        QCOMPARE(m_home->localPosts.size(), 6);
        QCOMPARE(changed.count(), 5);
        QVERIFY(m_home->distributedNotifications.posted.isEmpty());

        for (const QVariant& unknown : {QVariant("Plank"), QVariant("xfce-panel"), QVariant(""), QVariant(2)}) {
            stored.setObject("dockHost", unknown);
            QCOMPARE(makeSettings()->dockHost(), DockHostChoice::Automatic);
        }
        // Another process's choice arrives with a reload, which posts nothing.
        m_home->localPosts.clear();
        stored.setObject("dockHost", DockHostIds::plank);
        QVERIFY(s->reloadFromDefaults());
        QCOMPARE(s->dockHost(), DockHostChoice::Plank);
        QVERIFY(m_home->localPosts.isEmpty());
    }

    void onboardingFlagFollowsItsSources() {
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

        // Without snapshots the defaults decide, by their own conversion, then the folders file.
        QVERIFY(QFile::remove(s->ordinaryPreferencesPath()) && QFile::remove(s->containerPreferencesPath()));
        m_home->defaults->setObject("hasCompletedOnboarding", "YES");
        QVERIFY(makeSettings()->hasCompletedOnboarding());
        m_home->defaults->removeObject("hasCompletedOnboarding");

        QVERIFY(writeFile(m_home->foldersFile(), R"([{"id":"6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"Work"}])"));
        QVERIFY(makeSettings()->hasCompletedOnboarding());
        QVERIFY(writeFile(m_home->foldersFile(), "[]"));
        QVERIFY(!makeSettings()->hasCompletedOnboarding());
        QVERIFY(writeFile(m_home->foldersFile(), "not json"));
        QVERIFY(!makeSettings()->hasCompletedOnboarding());

        // Setting the flag also writes it into the container's file, keeping what else is there.
        writePlist(s->containerPreferencesPath(), {{"keep", "me"}});
        s->setHasCompletedOnboarding(true);
        QCOMPARE(m_home->defaults->object("hasCompletedOnboarding"), QVariant(true));
        const auto container = PropertyList::readFile(s->containerPreferencesPath());
        QVERIFY(container && container->format == PropertyList::Format::Xml);
        QCOMPARE(container->root.toMap(), (QVariantMap{{"keep", "me"}, {"hasCompletedOnboarding", true}}));
    }

    void launchAtLoginWritesAutostartEntry() {
        const auto s = makeSettings();
        const QStringList& console = m_home->console.lines;
        s->setLaunchAtLogin(true);
        QCOMPARE(m_home->defaults->object("launchAtLogin"), QVariant(true));
        QVERIFY(readFile(m_home->loginItem.entryPath())
                    .contains("\nExec=\"/opt/My Apps/Trellin.app/Contents/MacOS/Trellin\"\n"));
        s->setLaunchAtLogin(false);
        QVERIFY(!QFile::exists(m_home->loginItem.entryPath()));
        s->setLaunchAtLogin(false); // unregistering what is not there is fine
        QVERIFY(console.isEmpty());

        QCOMPARE(s->launchAtLoginFailure(), std::nullopt);
    }

    // A refused change is told once on the console and kept for the switch to show, and the field
    // (and its key) fall back to what is really registered; the next change that works clears it.
    void refusedLaunchAtLoginShowsTheRealRegistration() {
        const QStringList& console = m_home->console.lines;
        m_home->defaults->setObject("launchAtLogin", true); // stale: nothing is registered
        const auto s = makeSettings();
        QVERIFY(!s->launchAtLogin());
        QList<Field> heard;
        int failures = 0;
        connect(s.get(), &AppSettings::changed, this, [&](Field field) { heard.append(field); });
        connect(s.get(), &AppSettings::launchAtLoginFailureChanged, this, [&] { ++failures; });

        // A file where the autostart folder should be.
        QVERIFY(writeFile(m_home->path("config/autostart"), {}));
        s->setLaunchAtLogin(true);
        QVERIFY(!s->launchAtLogin());
        QCOMPARE(m_home->defaults->object("launchAtLogin"), QVariant(false));
        QCOMPARE(heard, (QList<Field>{Field::LaunchAtLogin, Field::LaunchAtLogin}));
        QVERIFY(console.size() == 1 && console.first().startsWith("Failed to update launch at login: cannot create "));
        QVERIFY(s->launchAtLoginFailure() && s->launchAtLoginFailure()->action == LoginItemFailure::Action::Register &&
                s->launchAtLoginFailure()->reason == LoginItemFailure::Reason::CannotCreateFolder);
        QCOMPARE(failures, 1);

        QVERIFY(QFile::remove(m_home->path("config/autostart")));
        s->setLaunchAtLogin(true);
        QVERIFY(s->launchAtLogin() && m_home->loginItem.isRegistered());
        QCOMPARE(s->launchAtLoginFailure(), std::nullopt);
        QCOMPARE(failures, 2);

        // Turning it off where the entry cannot be removed leaves it on, and says so.
        if (::geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        QVERIFY(QFile::setPermissions(m_home->path("config/autostart"), QFile::ReadOwner | QFile::ExeOwner));
        s->setLaunchAtLogin(false);
        QVERIFY(s->launchAtLogin());
        QCOMPARE(m_home->defaults->object("launchAtLogin"), QVariant(true));
        QCOMPARE(s->launchAtLoginFailure()->action, LoginItemFailure::Action::Unregister);
        QVERIFY(QFile::setPermissions(m_home->path("config/autostart"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
};

QTEST_GUILESS_MAIN(AppSettingsTest)
#include "AppSettingsTest.moc"
