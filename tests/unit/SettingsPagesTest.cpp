// The General, Popup and About settings pages: how values read, that every control writes its
// setting and follows it, and that the keyboard reaches every control under a name.
#include "MainWindowTestBed.h"
#include "TestFiles.h"
#include "platform/DockExtension.h"
#include "platform/DockHostIds.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/NotificationNames.h"
#include "settings/LocalizationKeys.h"
#include "ui/AboutView.h"
#include "ui/DockExtensionRow.h"
#include "ui/GeneralSettingsView.h"
#include "ui/OnboardingView.h"
#include "ui/PopupSettingsView.h"
#include "ui/SettingsFormats.h"
#include "widgets/RowNote.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/SettingsRow.h"
#include "widgets/SettingsSlider.h"
#include "widgets/TextButton.h"
#include "widgets/ToggleSwitch.h"

#include <QLabel>
#include <QTest>

namespace {

// The dock's extension as the page sees it: a state, and an install that fails when told why.
struct ScriptedExtension final : DockExtension {
    State state() const override { return current; }
    std::optional<QString> install() override {
        ++installs;
        if (failure)
            return failure;
        current = State::Installed;
        return std::nullopt;
    }
    State current = State::NotInstalled;
    std::optional<QString> failure;
    int installs = 0;
};

} // namespace

class SettingsPagesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valueLabels() {
        MainWindowTestBed bed;
        const Localization& l10n = bed.localization;
        QCOMPARE(SettingsFormats::percentText(0.75), QStringLiteral("75%"));
        QCOMPARE(SettingsFormats::percentText(0.5), QStringLiteral("50%"));
        // Rounded, not truncated: 0.57 × 100 is 56.99… in binary and must still read as 57.
        QCOMPARE(SettingsFormats::percentText(0.999), QStringLiteral("100%"));
        QCOMPARE(SettingsFormats::percentText(0.294), QStringLiteral("29%"));
        QCOMPARE(SettingsFormats::percentText(0.57), QStringLiteral("57%"));
        QCOMPARE(SettingsFormats::percentText(0.29), QStringLiteral("29%"));
        QCOMPARE(SettingsFormats::pointsText(l10n, 12.0), QStringLiteral("12 pt"));
        QCOMPARE(SettingsFormats::pointsText(l10n, 52.9), QStringLiteral("53 pt"));
        QCOMPARE(SettingsFormats::pointsText(l10n, 12.4), QStringLiteral("12 pt"));
        QCOMPARE(SettingsFormats::borderWidthText(l10n, 1.5), QStringLiteral("1.5"));
        QCOMPARE(SettingsFormats::borderWidthText(l10n, 15), QStringLiteral("15.0"));
        bed.settings->setLanguage(AppLanguage::Ukrainian);
        QCOMPARE(SettingsFormats::pointsText(l10n, 52.9), QStringLiteral("53 \u043F\u0442"));
        QCOMPARE(SettingsFormats::borderWidthText(l10n, 0.5), QStringLiteral("0,5"));
    }

    void generalPageWritesAndFollows() {
        MainWindowTestBed bed;
        AppSettings& settings = *bed.settings;
        GeneralSettingsView page(bed.environment);
        page.show();
        const bool menuBar = settings.showMenuBar();
        QTest::mouseClick(page.showMenuBarSwitch(), Qt::LeftButton);
        QCOMPARE(settings.showMenuBar(), !menuBar);
        QTest::keyClick(page.launchAtLoginSwitch(), Qt::Key_Space);
        QVERIFY(settings.launchAtLogin());

        SegmentedPicker* language = page.languagePicker();
        QCOMPARE(language->labels(), (QStringList{QStringLiteral("English"), QStringLiteral("Українська")}));
        QTest::mouseClick(language, Qt::LeftButton, {}, language->optionRect(1).center().toPoint());
        QCOMPARE(settings.language(), AppLanguage::Ukrainian);
        // The rows speak the new language, the language names stay as written.
        QCOMPARE(rowOf(language)->title(), bed.localization.text(L10nKey::language));
        QVERIFY(rowOf(language)->title() != QStringLiteral("Language"));
        QCOMPARE(language->labels().at(0), QStringLiteral("English"));
        QTest::keyClick(language, Qt::Key_Left);
        QCOMPARE(settings.language(), AppLanguage::English);

        settings.setShowMenuBar(menuBar);
        QCOMPARE(page.showMenuBarSwitch()->isChecked(), menuBar);
        settings.setLanguage(AppLanguage::Ukrainian);
        QCOMPARE(language->selection(), 1);

        // The theme: dark, light, or as the desktop says; the title bar's choice shows here too.
        SegmentedPicker* theme = page.themePicker();
        QCOMPARE(theme->labels(), (QStringList{bed.localization.text(L10nKey::onboardingThemeDark),
                                               bed.localization.text(L10nKey::onboardingThemeLight),
                                               bed.localization.text(L10nKey::onboardingThemeSystem)}));
        QCOMPARE(theme->labels().at(2), QStringLiteral("Системна"));
        QTest::mouseClick(theme, Qt::LeftButton, {}, theme->optionRect(2).center().toPoint());
        QCOMPARE(bed.home.defaults->object(QStringLiteral("appTheme")), QVariant(QStringLiteral("system")));
        settings.setAppTheme(AppThemeMode::Light);
        QCOMPARE(theme->selection(), 1);
    }

    // The dock: automatic or one host by name, written as the host's id; the line under the title
    // names the dock in use as the application reports it, asked again once a new choice has been
    // acted on, and is heard with the picker.
    void generalPageChoosesTheDock() {
        MainWindowTestBed bed;
        AppSettings& settings = *bed.settings;
        QString inUse;
        bed.environment.activeDockName = [&inUse] { return inUse; };
        GeneralSettingsView page(bed.environment);
        page.show();
        SegmentedPicker* dock = page.dockPicker();
        QCOMPARE(dock->labels(), (QStringList{"Automatic", "GNOME Shell", "Plank", "KDE Plasma", "Trellin Dock"}));
        QCOMPARE(dock->selection(), 0);
        QVERIFY(page.dockRow()->subtitle().isEmpty());
        QCOMPARE(dock->accessibleName(), QStringLiteral("Dock"));
        // The keyboard reaches it after the theme, the last row before it.
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        page.themePicker()->setFocus();
        QTest::keyClick(page.themePicker(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dock);

        // The application moves to the chosen dock on the change's notice; the page asks after it.
        bed.home.localNotifications.addObserver(NotificationName::dockHostChanged, [&](const Notification&) {
            inUse = rawValue(settings.dockHost()) == DockHostIds::plank ? QStringLiteral("Plank") : QString();
        });
        QTest::mouseClick(dock, Qt::LeftButton, {}, dock->optionRect(2).center().toPoint());
        QCOMPARE(settings.dockHost(), DockHostChoice::Plank);
        QCOMPARE(bed.home.defaults->object(QStringLiteral("dockHost")), QVariant(DockHostIds::plank));
        bed.clock.advance(0);
        QCOMPARE(page.dockRow()->subtitle(), QStringLiteral("In use: Plank"));
        QCOMPARE(dock->accessibleName(), QStringLiteral("Dock. In use: Plank"));
        QCOMPARE(dock->accessibleDescription(), dock->optionAccessibleText(2));

        QTest::keyClick(dock, Qt::Key_Right);
        QCOMPARE(settings.dockHost(), DockHostChoice::KdePlasma);
        QCOMPARE(bed.home.defaults->object(QStringLiteral("dockHost")), QVariant(DockHostIds::kdePlasma));
        QTest::keyClick(dock, Qt::Key_Right);
        QCOMPARE(settings.dockHost(), DockHostChoice::TrellinDock);
        settings.setDockHost(DockHostChoice::GnomeShell);
        QCOMPARE(dock->selection(), 1);

        // A dock that changed by itself shows when the application says so, in the page's language.
        inUse = QStringLiteral("GNOME Shell");
        page.refreshActiveDock();
        settings.setLanguage(AppLanguage::Ukrainian);
        QCOMPARE(page.dockRow()->subtitle(), bed.localization.format(L10nKey::dockInUse, {inUse}));
        QVERIFY(page.dockRow()->subtitle().endsWith(inUse) && !page.dockRow()->subtitle().startsWith("In use"));
        QCOMPARE(dock->labels().at(0), bed.localization.text(L10nKey::dockAutomatic));
        QCOMPARE(dock->labels().at(1), QStringLiteral("GNOME Shell"));
        inUse.clear();
        page.refreshActiveDock();
        QVERIFY(page.dockRow()->subtitle().isEmpty());
        QCOMPARE(dock->accessibleName(), bed.localization.text(L10nKey::dock));
    }

    // The extension is offered only where the dock in use has one; the row says what state it is in,
    // installs from the keyboard, and says why when that failed.
    void generalPageOffersTheDocksExtension() {
        MainWindowTestBed bed;
        ScriptedExtension extension;
        bool offered = false;
        bed.environment.dockExtension = [&]() -> DockExtension* { return offered ? &extension : nullptr; };
        GeneralSettingsView page(bed.environment);
        page.show();
        DockExtensionRow* row = page.dockExtensionRow();
        QVERIFY(!row->row()->isVisibleTo(&page));

        offered = true;
        page.refreshActiveDock();
        QVERIFY(row->row()->isVisibleTo(&page));
        QCOMPARE(row->row()->title(), QStringLiteral("GNOME Shell extension"));
        QVERIFY(row->installButton()->isVisibleTo(&page) && !row->stateLabel()->isVisibleTo(&page));
        QCOMPARE(row->installButton()->text(), QStringLiteral("Install"));
        QVERIFY(row->installButton()->accessibleDescription().startsWith(QStringLiteral("GNOME Shell extension. ")));
        QVERIFY(row->note()->text().isEmpty());
        // Reached by Tab after the dock picker; Return installs.
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        page.dockPicker()->setFocus();
        QTest::keyClick(page.dockPicker(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), row->installButton());
        QTest::keyClick(row->installButton(), Qt::Key_Return);
        QTRY_COMPARE(extension.installs, 1);
        QVERIFY(!row->installButton()->isVisibleTo(&page) && row->stateLabel()->isVisibleTo(&page));
        QCOMPARE(row->stateLabel()->text(), QStringLiteral("Installed"));
        QCOMPARE(row->note()->text(), bed.localization.text(L10nKey::shellExtensionNextLogin));
        QCOMPARE(row->stateLabel()->accessibleDescription(), row->note()->text());

        // An older copy is updated; a failure says why and the button stays for another try.
        extension.current = DockExtension::State::Outdated;
        extension.failure = QStringLiteral("No space left on device");
        page.refreshActiveDock();
        QCOMPARE(row->installButton()->text(), QStringLiteral("Update"));
        QTest::mouseClick(row->installButton(), Qt::LeftButton);
        QCOMPARE(row->note()->tone(), RowNote::Tone::Warning);
        QVERIFY(row->note()->text().contains(*extension.failure));
        QVERIFY(row->installButton()->isVisibleTo(&page));
        extension.failure.reset();
        QTest::mouseClick(row->installButton(), Qt::LeftButton);
        QCOMPARE(row->note()->tone(), RowNote::Tone::Info);

        // Running in the shell: nothing left to do or to note, in the page's language.
        extension.current = DockExtension::State::Active;
        bed.settings->setLanguage(AppLanguage::Ukrainian);
        QCOMPARE(row->stateLabel()->text(), bed.localization.text(L10nKey::shellExtensionActive));
        QVERIFY(row->stateLabel()->text() != QStringLiteral("Active"));
        QVERIFY(row->note()->text().isEmpty());

        // The shell would not run it: said so, with nothing to press that could not help.
        extension.current = DockExtension::State::Refused;
        page.refreshActiveDock();
        QCOMPARE(row->stateLabel()->text(), bed.localization.text(L10nKey::shellExtensionRefused));
        QCOMPARE(row->note()->tone(), RowNote::Tone::Warning);
        QVERIFY(!row->installButton()->isVisibleTo(&page));

        // Another dock in use: not offered.
        offered = false;
        page.refreshActiveDock();
        QVERIFY(!row->row()->isVisibleTo(&page));
    }

    // A change the system refused leaves the switch showing what is really registered, with one
    // line under it in the interface language until a change works; the menu-bar switch says why
    // it has no effect while there is no tray.
    void generalPageNotes() {
        MainWindowTestBed bed;
        AppSettings& settings = *bed.settings;
        GeneralSettingsView page(bed.environment);
        page.show();
        RowNote* launchNote = page.launchAtLoginNote();
        QVERIFY(launchNote->isHidden() && page.showMenuBarNote()->isHidden());

        // A file where the autostart folder should be.
        QVERIFY(writeFile(bed.home.path("config/autostart"), {}));
        QTest::keyClick(page.launchAtLoginSwitch(), Qt::Key_Space);
        QVERIFY(!settings.launchAtLogin() && !page.launchAtLoginSwitch()->isChecked());
        QVERIFY(launchNote->isVisible() && launchNote->tone() == RowNote::Tone::Warning);
        const QString english = launchNote->text();
        QCOMPARE(english, QStringLiteral("Couldn’t turn this on: the autostart folder can’t be created."));
        QCOMPARE(page.launchAtLoginSwitch()->accessibleDescription(), english);
        settings.setLanguage(AppLanguage::Ukrainian);
        QCOMPARE(launchNote->text(), bed.localization.text(L10nKey::launchAtLoginCannotCreateFolder));
        QVERIFY(launchNote->text() != english);

        QVERIFY(QFile::remove(bed.home.path("config/autostart")));
        QTest::keyClick(page.launchAtLoginSwitch(), Qt::Key_Space);
        QVERIFY(settings.launchAtLogin() && page.launchAtLoginSwitch()->isChecked());
        QVERIFY(launchNote->isHidden() && page.launchAtLoginSwitch()->accessibleDescription().isEmpty());

        bed.tray.setAvailable(false);
        QVERIFY(page.showMenuBarNote()->isVisible());
        QCOMPARE(page.showMenuBarNote()->text(), bed.localization.text(L10nKey::showMenuBarNoTray));
        QCOMPARE(page.showMenuBarSwitch()->accessibleDescription(), page.showMenuBarNote()->text());
        bed.tray.setAvailable(true);
        QVERIFY(page.showMenuBarNote()->isHidden());
    }

    void popupPageWritesAndFollows() {
        MainWindowTestBed bed;
        AppSettings& settings = *bed.settings;
        PopupSettingsView page(bed.environment);
        page.show();
        const bool title = settings.popupShowTitle();
        QTest::mouseClick(page.showTitleSwitch(), Qt::LeftButton);
        QCOMPARE(settings.popupShowTitle(), !title);

        SettingsSlider* icons = page.iconSizeSlider();
        QTest::keyClick(icons, Qt::Key_End);
        QCOMPARE(settings.popupIconSize(), 72.0);
        QTest::keyClick(icons, Qt::Key_Left);
        QCOMPARE(settings.popupIconSize(), 71.0);
        // A press and a drag on the track set the value under the pointer.
        QTest::mousePress(icons, Qt::LeftButton, {}, QPoint(int(icons->thumbCenter(40)), icons->height() / 2));
        QCOMPARE(settings.popupIconSize(), 40.0);
        QMouseEvent drag(QEvent::MouseMove, QPointF(icons->thumbCenter(56), icons->height() / 2.0),
                         icons->mapToGlobal(QPointF(icons->thumbCenter(56), 0)), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(icons, &drag);
        QTest::mouseRelease(icons, Qt::LeftButton, {}, QPoint(int(icons->width() + 50), icons->height() / 2));
        QCOMPARE(settings.popupIconSize(), 72.0); // released beyond the end: clamped
        // Between two points a press lands on the nearer whole point, never on a fraction.
        for (const double between : {51.3, 51.8}) {
            QTest::mousePress(icons, Qt::LeftButton, {},
                              QPoint(int(std::lround(icons->thumbCenter(between))), icons->height() / 2));
            QTest::mouseRelease(icons, Qt::LeftButton, {},
                                QPoint(int(std::lround(icons->thumbCenter(between))), icons->height() / 2));
            QCOMPARE(settings.popupIconSize(), std::round(between));
        }
        // A fraction stored before (or by hand) reads as the nearest whole point, on both sides.
        settings.setPopupIconSize(51.8);
        QCOMPARE(icons->valueText(), QStringLiteral("52 pt"));
        QCOMPARE(icons->value(), 52.0);
        settings.setPopupIconSize(52.4);
        QCOMPARE(icons->valueText(), QStringLiteral("52 pt"));
        QTest::keyClick(icons, Qt::Key_Right);
        QCOMPARE(settings.popupIconSize(), 53.0);

        SettingsSlider* opacity = page.opacitySlider();
        settings.setPopupOpacity(0.75);
        QCOMPARE(opacity->valueText(), QStringLiteral("75%"));
        QTest::keyClick(opacity, Qt::Key_Right);
        QCOMPARE(settings.popupOpacity(), 0.76);
        QTest::keyClick(opacity, Qt::Key_Home);
        QCOMPARE(settings.popupOpacity(), 0.5);

        settings.setPopupColumns(3);
        QTest::keyClick(page.columnsPicker(), Qt::Key_Right);
        QCOMPARE(settings.popupColumns(), qint64(4));
        settings.setPopupColumns(6);
        QCOMPARE(page.columnsPicker()->selection(), 3);
        settings.setPopupColumns(9); // out of the choices: the nearest one shows
        QCOMPARE(page.columnsPicker()->selection(), 3);

        SegmentedPicker* blur = page.blurPicker();
        QTest::mouseClick(blur, Qt::LeftButton, {}, blur->optionRect(2).center().toPoint());
        QCOMPARE(settings.popupBlurStyle(), PopupBlur::Dark);
        QTest::mouseClick(page.positionPicker(), Qt::LeftButton, {},
                          page.positionPicker()->optionRect(1).center().toPoint());
        QCOMPARE(settings.popupPosition(), PopupPosition::AboveDock);
        settings.setPopupAnimationStyle(PopupAnimation::None);
        QCOMPARE(page.animationPicker()->selection(), 1);

        settings.setLanguage(AppLanguage::Ukrainian);
        QCOMPARE(icons->valueText(), QStringLiteral("53 \u043F\u0442"));
        QCOMPARE(blur->labels().at(2), bed.localization.text(L10nKey::blurDark));
    }

    void aboutPage() {
        MainWindowTestBed bed;
        AboutView page(bed.environment, QStringLiteral("1.2.3"));
        page.show();
        QVERIFY(page.versionText().contains(QStringLiteral("1.2.3")));
        QTest::mouseClick(page.checkForUpdatesButton()->button(), Qt::LeftButton);
        QCOMPARE(bed.updater.checks, 1);
        QTest::keyClick(page.checkForUpdatesButton()->button(), Qt::Key_Space);
        QCOMPARE(bed.updater.checks, 2);
        AboutView unknown(bed.environment, QString());
        QVERIFY(unknown.versionText().contains(bed.localization.text(L10nKey::unknownVersion)));

        // The page shows the application's icon, as the Dock does, named for assistive tools.
        const auto markOf = [&bed](QWidget& view) {
            for (QLabel* label : view.findChildren<QLabel*>())
                if (label->accessibleName() == bed.localization.text(L10nKey::appName) && !label->pixmap().isNull())
                    return label->pixmap().toImage();
            return QImage();
        };
        const QImage icon = markOf(page);
        QVERIFY(!icon.isNull());
        const QImage expected =
            bed.environment.appIcon.scaled(icon.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QCOMPARE(icon.pixelColor(icon.width() / 2, icon.height() / 2),
                 expected.pixelColor(icon.width() / 2, icon.height() / 2));
        QCOMPARE(icon.pixelColor(icon.width() * 3 / 10, icon.height() * 3 / 10),
                 expected.pixelColor(icon.width() * 3 / 10, icon.height() * 3 / 10));
        OnboardingView guide(bed.environment, [](bool) {});
        const QImage hero = markOf(guide);
        QVERIFY(!hero.isNull());
        QCOMPARE(hero.pixelColor(hero.width() * 3 / 10, hero.height() * 3 / 10).name(),
                 bed.environment.appIcon.scaled(hero.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)
                     .pixelColor(hero.width() * 3 / 10, hero.height() * 3 / 10)
                     .name());
    }

    void everyTabStopIsNamed() {
        MainWindowTestBed bed;
        GeneralSettingsView general(bed.environment);
        PopupSettingsView popup(bed.environment);
        AboutView about(bed.environment, QStringLiteral("1.0"));
        // The General page: five settings, then Export… and Import… (no desktop folders to import here).
        const QList<std::pair<QWidget*, int>> pages{{&general, 7}, {&popup, 8}, {&about, 1}};
        for (const auto& [page, expected] : pages) {
            page->show();
            QStringList names;
            for (QWidget* widget : page->findChildren<QWidget*>()) {
                if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(page))
                    continue;
                QVERIFY2(!widget->accessibleName().isEmpty(), widget->metaObject()->className());
                names.append(widget->accessibleName());
            }
            QCOMPARE(names.size(), expected);
            page->hide();
        }
        QCOMPARE(popup.iconSizeSlider()->accessibleName(), bed.localization.text(L10nKey::popupIconSize));
        bed.settings->setLanguage(AppLanguage::Ukrainian);
        QCOMPARE(popup.iconSizeSlider()->accessibleName(), bed.localization.text(L10nKey::popupIconSize));
    }

private:
    static SettingsRow* rowOf(QWidget* control) {
        for (QWidget* parent = control->parentWidget(); parent; parent = parent->parentWidget())
            if (auto* row = qobject_cast<SettingsRow*>(parent))
                return row;
        return nullptr;
    }
};

QTEST_MAIN(SettingsPagesTest)
#include "SettingsPagesTest.moc"
