// Springs as the interface's animations use them: the closed-form motion, and an animation
// stepped by a virtual animation clock.
#include "widgets/Spring.h"
#include "PopupTestBed.h"
#include "popup/FolderPopupView.h"
#include "widgets/PresentationEffect.h"
#include "widgets/SpringAnimation.h"

#include <QAnimationDriver>
#include <QTest>

namespace {

// The toolkit's animation clock, moved by the test.
class VirtualAnimationDriver final : public QAnimationDriver {
public:
    void step(double seconds) {
        const int frames = int(seconds * 60);
        for (int i = 0; i < frames; ++i) {
            // Animations just started join the clock from the event loop.
            QCoreApplication::processEvents();
            m_elapsed += 1000 / 60;
            advance();
        }
    }
    qint64 elapsed() const override { return m_elapsed; }

private:
    qint64 m_elapsed = 0;
};

} // namespace

class SpringTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void motionFollowsResponseAndDamping();
    void animationSettlesOnItsTargetAndKeepsSpeedWhenRetargeted();
    void popupAppearsScaledAndFadedThenPaintsDirectly();
};

void SpringTest::motionFollowsResponseAndDamping() {
    const Spring critical{.response = 0.3, .dampingFraction = 1.0};
    QCOMPARE(critical.stiffness(), std::pow(2 * M_PI / 0.3, 2));
    QCOMPARE(critical.damping(), 4 * M_PI / 0.3);
    QCOMPARE(critical.displacement(0, 10, 0), 10.0);

    // Critical damping never crosses the target; less than that overshoots, more creeps.
    double lowest = 10;
    const Spring bouncy{.response = 0.35, .dampingFraction = 0.7};
    const Spring sluggish{.response = 0.35, .dampingFraction = 1.5};
    for (double t = 0; t < 2; t += 0.01) {
        QVERIFY(critical.displacement(t, 10, 0) >= 0);
        lowest = std::min(lowest, bouncy.displacement(t, 10, 0));
        QVERIFY(sluggish.displacement(t, 10, 0) >= 0);
    }
    QVERIFY(lowest < -0.2);
    QVERIFY(std::abs(bouncy.displacement(1.5, 10, 0)) < 1e-3);
    QVERIFY(sluggish.displacement(0.35, 10, 0) > critical.displacement(0.35, 10, 0));
    // A spring released with speed moves that way first.
    QVERIFY(critical.displacement(0.02, 0, 100) > 0);
    QVERIFY(std::abs(critical.velocity(0, 0, 100) - 100) < 1);
}

void SpringTest::animationSettlesOnItsTargetAndKeepsSpeedWhenRetargeted() {
    VirtualAnimationDriver driver;
    driver.install();
    SpringAnimation animation({.response = 0.35, .dampingFraction = 0.7}, 0.0);
    QList<double> values;
    bool stoppedAtLastValue = false;
    connect(&animation, &SpringAnimation::valueChanged, this, [&](double value) {
        values.append(value);
        stoppedAtLastValue = animation.state() == QAbstractAnimation::Stopped;
    });
    animation.animateTo(1.0);
    driver.step(0.2);
    QVERIFY(animation.value() > 0.5);

    // Pulled back mid-way: it goes on forward for a moment before turning.
    const double before = animation.value();
    animation.animateTo(0.0);
    driver.step(1.0 / 60);
    QVERIFY(animation.value() > before - 0.05);
    driver.step(2.0);
    QCOMPARE(animation.value(), 0.0);
    QCOMPARE(animation.state(), QAbstractAnimation::Stopped);
    QVERIFY(stoppedAtLastValue);
    driver.uninstall();
}

void SpringTest::popupAppearsScaledAndFadedThenPaintsDirectly() {
    VirtualAnimationDriver driver;
    driver.install();
    PopupTestBed bed;
    FolderPopupView view(bed.popupEnvironment, PopupPanelController::spacing, PopupTestBed::folder(3), DockEdge::Bottom,
                         {}, {}, ColorScheme::Dark);
    view.show();
    QVERIFY(view.isPresented());
    // Its first frame already shows it: a wholly transparent one would delay the opening by a tick.
    const auto* effect = qobject_cast<PresentationEffect*>(view.graphicsEffect());
    QVERIFY(effect);
    QVERIFY(effect->opacity() > 0.0 && effect->opacity() < 0.5);
    driver.step(2.0);
    QVERIFY(!view.graphicsEffect());
    driver.uninstall();

    // Without the animation it is presented at once and never drawn through an effect.
    bed.settings->setPopupAnimationStyle(PopupAnimation::None);
    FolderPopupView still(bed.popupEnvironment, PopupPanelController::spacing, PopupTestBed::folder(3),
                          DockEdge::Bottom, {}, {}, ColorScheme::Dark);
    still.show();
    QVERIFY(still.isPresented());
    QVERIFY(!still.graphicsEffect());
}

QTEST_MAIN(SpringTest)
#include "SpringTest.moc"
