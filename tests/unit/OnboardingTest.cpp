// The first-run onboarding, offscreen: what each choice stores (and what an untouched one does
// not), the workflow default applied once per run, finishing once, the eased step changes on
// virtual time, and the keyboard.
#include "MainWindowTestBed.h"
#include "TestFiles.h"
#include "settings/LocalizationKeys.h"
#include "ui/EasedTransition.h"
#include "ui/OnboardingOptionCard.h"
#include "ui/OnboardingStepIndicator.h"
#include "ui/OnboardingToggleRow.h"
#include "ui/OnboardingView.h"
#include "widgets/RowNote.h"
#include "widgets/SegmentedTabs.h"
#include "widgets/TextButton.h"
#include "widgets/ToggleSwitch.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class OnboardingTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindowTestBed> m_bed;
    QList<bool> m_finishes;

    std::unique_ptr<OnboardingView> makeView() {
        auto view =
            std::make_unique<OnboardingView>(m_bed->environment, [this](bool first) { m_finishes.append(first); });
        view->resize(560, 504);
        view->show();
        return view;
    }
    // Lets the step change (0.2 s) and the choice (0.16 s) settle.
    void settle() { m_bed->clock.advance(0.25); }
    QString stored(const char* key) const { return m_bed->home.defaults->object(QString::fromLatin1(key)).toString(); }
    bool isStored(const char* key) const { return m_bed->home.defaults->hasObject(QString::fromLatin1(key)); }

private Q_SLOTS:
    void init() {
        m_bed = std::make_unique<MainWindowTestBed>();
        m_finishes.clear();
    }
    void cleanup() { m_bed.reset(); }

    void theWorkflowDefaultIsAppliedOnceAndTheUsersChoiceStays() {
        m_bed->settings->setPopupPosition(PopupPosition::Center); // left from an earlier, unfinished run
        auto view = makeView();
        QCOMPARE(view->step(), OnboardingStep::Welcome);
        QVERIFY(!view->didApplyWorkflowDefault());

        view->advance();
        QCOMPARE(view->step(), OnboardingStep::Workflow);
        QVERIFY(view->didApplyWorkflowDefault());
        QCOMPARE(m_bed->settings->popupPosition(), PopupPosition::AboveDock);
        QCOMPARE(stored("popupPosition"), QStringLiteral("aboveDock"));
        // A choice made while the default is still easing in is not undone when it ends.
        m_bed->clock.advance(0.05);
        QTest::mouseClick(view->optionCard(PopupPosition::Center), Qt::LeftButton);
        settle();
        QCOMPARE(view->workflowPopupPosition(), PopupPosition::Center);
        QCOMPARE(stored("popupPosition"), QStringLiteral("center"));
        QVERIFY(view->optionCard(PopupPosition::Center)->isChecked());
        QVERIFY(!view->optionCard(PopupPosition::AboveDock)->isChecked());
        QCOMPARE(view->optionCard(PopupPosition::Center)->emphasis(), 1.0);
        QCOMPARE(view->optionCard(PopupPosition::AboveDock)->emphasis(), 0.0);
        // Clicking the chosen card keeps it chosen.
        QTest::mouseClick(view->optionCard(PopupPosition::Center), Qt::LeftButton);
        QVERIFY(view->optionCard(PopupPosition::Center)->isChecked());

        view->goBack();
        QCOMPARE(view->step(), OnboardingStep::Welcome);
        view->advance();
        settle();
        QCOMPARE(view->workflowPopupPosition(), PopupPosition::Center);
        view->advance();
        view->advance(); // Start
        QCOMPARE(m_bed->settings->popupPosition(), PopupPosition::Center);
        QCOMPARE(m_finishes, QList<bool>{false});

        // The next launch, onboarding still unfinished: it starts over and offers the default again.
        view.reset();
        m_finishes.clear();
        view = makeView();
        QCOMPARE(view->step(), OnboardingStep::Welcome);
        QVERIFY(!view->didApplyWorkflowDefault());
        view->advance();
        QCOMPARE(m_bed->settings->popupPosition(), PopupPosition::AboveDock);
    }

    void onlyTheChoicesMadeAreWritten() {
        auto view = makeView();
        QSignalSpy changes(m_bed->settings.get(), &AppSettings::changed);
        view->advance();
        view->advance();
        QCOMPARE(view->step(), OnboardingStep::QuickSetup);
        view->advance();
        for (const QList<QVariant>& change : changes)
            QCOMPARE(change.at(0).value<AppSettings::Field>(), AppSettings::Field::PopupPosition);
        QVERIFY(!isStored("showMenuBar"));
        QVERIFY(!isStored("launchAtLogin"));
        QVERIFY(!isStored("appTheme"));

        view = makeView();
        view->advance();
        view->advance();
        settle();
        QTest::mouseClick(view->menuBarRow()->toggleSwitch(), Qt::LeftButton);
        QCOMPARE(m_bed->settings->showMenuBar(), true);
        QCOMPARE(m_bed->home.defaults->object(QStringLiteral("showMenuBar")).toBool(), true);
        QVERIFY(!isStored("launchAtLogin"));
        QTest::mouseClick(view->themeChoice()->segmentButton(1), Qt::LeftButton);
        QCOMPARE(m_bed->settings->appTheme(), AppThemeMode::Light);
        QCOMPARE(stored("appTheme"), QStringLiteral("light"));
        QTest::mouseClick(view->themeChoice()->segmentButton(2), Qt::LeftButton);
        QCOMPARE(stored("appTheme"), QStringLiteral("system"));
        QTest::mouseClick(view->themeChoice()->segmentButton(0), Qt::LeftButton);
        QCOMPARE(stored("appTheme"), QStringLiteral("dark"));
        // A change from elsewhere (the title bar's theme button) shows here without a write back.
        m_bed->settings->setAppTheme(AppThemeMode::Light);
        QCOMPARE(view->themeChoice()->currentIndex(), 1);
        m_bed->settings->setLaunchAtLogin(true);
        QVERIFY(view->launchAtLoginRow()->isOn());
    }

    // The guide's switches tell the same as the settings page: a refused launch at login stays
    // off with its reason under it, and the menu-bar item without a tray says it has no effect.
    void switchesTellWhatTheSystemDid() {
        m_bed->tray.setAvailable(false);
        auto view = makeView();
        view->advance();
        view->advance();
        settle();
        QVERIFY(view->menuBarNote()->isVisible());
        QCOMPARE(view->menuBarNote()->text(), m_bed->localization.text(L10nKey::showMenuBarNoTray));
        QVERIFY(view->launchAtLoginNote()->isHidden());

        QVERIFY(writeFile(m_bed->home.path("config/autostart"), {}));
        QTest::mouseClick(view->launchAtLoginRow()->toggleSwitch(), Qt::LeftButton);
        QVERIFY(!m_bed->settings->launchAtLogin() && !view->launchAtLoginRow()->isOn());
        QVERIFY(view->launchAtLoginNote()->isVisible());
        QCOMPARE(view->launchAtLoginNote()->text(), m_bed->localization.text(L10nKey::launchAtLoginCannotCreateFolder));
        QVERIFY(view->launchAtLoginRow()->toggleSwitch()->accessibleDescription().endsWith(
            view->launchAtLoginNote()->text()));
        m_bed->settings->setLanguage(AppLanguage::Ukrainian);
        QCOMPARE(view->launchAtLoginNote()->text(), m_bed->localization.text(L10nKey::launchAtLoginCannotCreateFolder));

        m_bed->tray.setAvailable(true);
        QVERIFY(view->menuBarNote()->isHidden());
        QVERIFY(QFile::remove(m_bed->home.path("config/autostart")));
        QTest::mouseClick(view->launchAtLoginRow()->toggleSwitch(), Qt::LeftButton);
        QVERIFY(m_bed->settings->launchAtLogin() && view->launchAtLoginNote()->isHidden());
    }

    void backStopsAtWelcomeAndStartFinishesOnce() {
        auto view = makeView();
        QVERIFY(view->backButton()->isHidden());
        view->goBack();
        QCOMPARE(view->step(), OnboardingStep::Welcome);
        QVERIFY(!view->isAnimating());
        const Localization& texts = m_bed->localization;
        QCOMPARE(view->primaryButton()->text(), texts.text(L10nKey::onboardingNext));
        view->advance();
        view->advance();
        QCOMPARE(view->primaryButton()->text(), texts.text(L10nKey::onboardingStart));
        QVERIFY(!view->backButton()->isHidden());
        view->advance();
        view->advance();
        view->primaryButton()->click();
        QCOMPARE(m_finishes, QList<bool>{false});

        m_bed->settings->setLanguage(AppLanguage::Ukrainian);
        QCOMPARE(view->primaryButton()->text(), texts.text(L10nKey::onboardingStart));
        QVERIFY(view->primaryButton()->text() != QStringLiteral("Get Started"));
    }

    void stepsChangeAlongAnEasedCurveOnVirtualTime() {
        QCOMPARE(EasedTransition::eased(0), 0.0);
        QCOMPARE(EasedTransition::eased(1), 1.0);
        QVERIFY(qAbs(EasedTransition::eased(0.5) - 0.5) < 1e-3);
        QVERIFY(EasedTransition::eased(0.2) < 0.2); // slow out of the start
        QVERIFY(EasedTransition::eased(0.8) > 0.8); // slow into the end

        auto view = makeView();
        const int idle = m_bed->clock.pendingCount();
        view->advance();
        QVERIFY(view->isAnimating());
        m_bed->clock.advance(0.1);
        QVERIFY(view->isAnimating());
        const double midway = view->stepIndicator()->position();
        QVERIFY(midway > 0.2 && midway < 0.8);
        m_bed->clock.advance(0.11);
        QVERIFY(!view->isAnimating());
        QCOMPARE(view->stepIndicator()->position(), 1.0);
        QCOMPARE(m_bed->clock.pendingCount(), idle); // nothing keeps ticking at rest
        view->advance();
        view.reset(); // mid-way: its ticks go with it
        QCOMPARE(m_bed->clock.pendingCount(), idle);
    }

    void theKeyboardMovesOnAndTabReachesEveryControl() {
        auto view = makeView();
        QVERIFY(QTest::qWaitForWindowActive(view.get()));
        QCOMPARE(QApplication::focusWidget(), view->primaryButton());
        const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
        press(Qt::Key_Return); // the button shows itself pressed for a moment, then acts
        QTRY_COMPARE(view->step(), OnboardingStep::Workflow);
        settle();
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), view->optionCard(PopupPosition::AboveDock));
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), view->optionCard(PopupPosition::Center));
        press(Qt::Key_Space);
        QCOMPARE(m_bed->settings->popupPosition(), PopupPosition::Center);
        press(Qt::Key_Return); // from a card, Return still moves on
        QCOMPARE(view->step(), OnboardingStep::QuickSetup);
        QCOMPARE(QApplication::focusWidget(), view->primaryButton());
        settle();

        // The theme's two options are one stop, as a radio group is; the arrows move between them.
        SegmentedTabs* theme = view->themeChoice();
        QList<QWidget*> order;
        for (int i = 0; i < 5; ++i) {
            press(Qt::Key_Tab);
            order.append(QApplication::focusWidget());
        }
        QCOMPARE(order, QList<QWidget*>({theme->segmentButton(0), view->menuBarRow()->toggleSwitch(),
                                         view->launchAtLoginRow()->toggleSwitch(), view->backButton(),
                                         view->primaryButton()}));
        for (QWidget* control : order)
            QVERIFY2(!control->accessibleName().isEmpty(), control->metaObject()->className());
        press(Qt::Key_Tab);
        press(Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), theme->segmentButton(1));
        QCOMPARE(m_bed->settings->appTheme(), AppThemeMode::Light);
        press(Qt::Key_Space);
        QCOMPARE(m_bed->settings->appTheme(), AppThemeMode::Light);
        press(Qt::Key_Tab);
        press(Qt::Key_Space);
        QVERIFY(m_bed->settings->showMenuBar());
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), view->primaryButton());
        press(Qt::Key_Return);
        QTRY_COMPARE(m_finishes, QList<bool>{false});
        QVERIFY(!isStored("launchAtLogin"));
    }
};

QTEST_MAIN(OnboardingTest)
#include "OnboardingTest.moc"
