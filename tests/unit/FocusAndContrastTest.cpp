// Keyboard focus rings and colour contrast, measured on the real theme and the real controls. The
// focus gallery is written next to the test as focus-gallery-<language>-<theme>.png.
#include "GalleryLooks.h"
#include "MainWindowTestBed.h"
#include "settings/LocalizationKeys.h"
#include "ui/BackgroundColorRow.h"
#include "ui/OnboardingOptionCard.h"
#include "widgets/FocusRing.h"
#include "widgets/SegmentedTabs.h"
#include "widgets/TextButton.h"
#include "widgets/Theme.h"
#include "widgets/ToggleSwitch.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QTest>
#include <QToolTip>

#include <cmath>

namespace {

double channel(double value) {
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& color) {
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) + 0.0722 * channel(color.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// `top` laid over the opaque `bottom`.
QColor over(const QColor& top, const QColor& bottom) {
    const double a = top.alphaF();
    return QColor::fromRgbF(float(top.redF() * a + bottom.redF() * (1 - a)),
                            float(top.greenF() * a + bottom.greenF() * (1 - a)),
                            float(top.blueF() * a + bottom.blueF() * (1 - a)));
}

// Pixels close to `color` in the widget's own picture.
int pixelsNear(QWidget& widget, const QColor& color) {
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - color.red()) + std::abs(pixel.green() - color.green()) +
                    std::abs(pixel.blue() - color.blue()) <=
                12)
                ++count;
        }
    }
    return count;
}

// A window with the controls whose rings the tests look for.
struct Stage {
    explicit Stage(ColorScheme scheme) {
        window.setPalette(Theme::palette(scheme));
        window.setAutoFillBackground(true);
        window.setBackgroundRole(QPalette::Base);
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(prominent);
        layout->addWidget(secondary);
        layout->addWidget(toggle);
        layout->addWidget(card);
        toggle->setChecked(true);
        card->setTexts(QStringLiteral("Above the Dock"), QStringLiteral("Opens where you click"));
        card->setChecked(true);
        card->setEmphasis(1);
        window.show();
        window.activateWindow();
    }

    QWidget window;
    TextButton* prominent = new TextButton(TextButton::Style::Prominent, QStringLiteral("Continue"));
    TextButton* secondary = new TextButton(TextButton::Style::Secondary, QStringLiteral("Back"));
    ToggleSwitch* toggle = new ToggleSwitch;
    OnboardingOptionCard* card = new OnboardingOptionCard(PopupPosition::AboveDock);
};

} // namespace

class FocusAndContrastTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void schemes_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }

    // Text 4.5:1, a control's edge and the focus ring 3:1, on every surface they are drawn on.
    void contrastOnEverySurface_data() { schemes_data(); }
    void contrastOnEverySurface() {
        QFETCH(bool, dark);
        const ColorScheme scheme = dark ? ColorScheme::Dark : ColorScheme::Light;
        const QPalette palette = Theme::palette(scheme);
        const QColor window = palette.color(QPalette::Window);
        const QColor card = palette.color(QPalette::Base);
        const QColor control = palette.color(QPalette::AlternateBase);
        const QList<QPair<const char*, QColor>> surfaces{
            {"window", window},
            {"card", card},
            {"control on window", over(control, window)},
            {"control on card", over(control, card)},
        };
        for (const auto& [name, surface] : surfaces) {
            const QColor secondary = over(palette.color(QPalette::PlaceholderText), surface);
            QVERIFY2(contrast(secondary, surface) >= 4.5, name);
            QVERIFY2(contrast(palette.color(QPalette::Text), surface) >= 4.5, name);
        }
        for (const QColor& surface : {window, card}) {
            QVERIFY(contrast(over(palette.color(QPalette::Dark), surface), surface) >= 3);
            QVERIFY(contrast(FocusRing::color(palette), surface) >= 3);
        }
        // An unselected tab's label sits on the segment track.
        QVERIFY(contrast(over(palette.color(QPalette::PlaceholderText), over(control, window)),
                         over(control, window)) >= 4.5);
        // The ring is told from the accent it may surround.
        QVERIFY(FocusRing::color(palette) != palette.color(QPalette::Highlight));
        // Tooltips are readable in the theme's own colours.
        QVERIFY(contrast(palette.color(QPalette::ToolTipText), palette.color(QPalette::ToolTipBase)) >= 4.5);
    }

    // A ring after Tab, a shortcut or a keyboard move; none after a click, none without focus.
    void ringOnlyFromKeyboard_data() { schemes_data(); }
    void ringOnlyFromKeyboard() {
        QFETCH(bool, dark);
        const ColorScheme scheme = dark ? ColorScheme::Dark : ColorScheme::Light;
        Stage stage(scheme);
        QVERIFY(QTest::qWaitForWindowActive(&stage.window));
        const QColor ring = FocusRing::color(stage.window.palette());
        for (QWidget* control : std::initializer_list<QWidget*>{stage.prominent, stage.toggle, stage.card}) {
            // Edges of the accent may come near the ring's colour; the ring adds a band of it.
            const int resting = pixelsNear(*control, ring);
            QVERIFY(resting < 12);

            QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(control->width() / 2, control->height() / 2));
            QVERIFY(control->hasFocus());
            QVERIFY(!FocusRing::shows(*control));
            QVERIFY(pixelsNear(*control, ring) <= resting);

            control->clearFocus();
            control->setFocus(Qt::TabFocusReason);
            QVERIFY(FocusRing::shows(*control));
            QVERIFY2(pixelsNear(*control, ring) > resting + 40, control->metaObject()->className());
        }

        // The real Tab key moves the ring along; a click elsewhere takes it away.
        stage.prominent->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(&stage.window, Qt::Key_Tab);
        QVERIFY(stage.secondary->hasFocus() && FocusRing::shows(*stage.secondary));
        QVERIFY(!FocusRing::shows(*stage.prominent));
        QTest::mouseClick(stage.toggle, Qt::LeftButton);
        QVERIFY(!FocusRing::shows(*stage.toggle) && !FocusRing::shows(*stage.secondary));

        // Focus the program moves right after a key press counts as the keyboard's; after a click not.
        QTest::keyClick(stage.toggle, Qt::Key_Shift);
        stage.card->setFocus();
        QVERIFY(FocusRing::shows(*stage.card));
        QTest::mouseClick(stage.toggle, Qt::LeftButton);
        stage.card->setFocus();
        QVERIFY(!FocusRing::shows(*stage.card));
    }

    // The chosen card shows its choice without a ring; focus adds the ring and leaves the choice.
    void cardChoiceAndFocusDiffer() {
        Stage stage(ColorScheme::Light);
        QVERIFY(QTest::qWaitForWindowActive(&stage.window));
        const QColor ring = FocusRing::color(stage.window.palette());
        const QColor accent = stage.window.palette().color(QPalette::Highlight);
        const int accentBefore = pixelsNear(*stage.card, accent);
        QVERIFY(accentBefore > 20);
        QCOMPARE(pixelsNear(*stage.card, ring), 0);
        stage.card->setFocus(Qt::BacktabFocusReason);
        QVERIFY(pixelsNear(*stage.card, ring) > 20);
        QVERIFY(pixelsNear(*stage.card, accent) >= accentBefore * 9 / 10);
    }

    // The frosted and the light swatch look different, and every swatch carries its name.
    void swatchesAreToldApart() {
        MainWindowTestBed bed;
        BackgroundColorRow row;
        row.setPalette(Theme::palette(ColorScheme::Light));
        QStringList names;
        for (const auto& [background, raw] : kTileBackgroundCases)
            names.append(bed.localization.text(L10nKey::displayNameKey(background)));
        row.setNames(names);
        row.resize(row.sizeHint());
        row.show();
        const QList<ColorCircle*> circles = row.circles();
        for (int i = 0; i < circles.size(); ++i) {
            QCOMPARE(circles[i]->accessibleName(), names[i]);
            QCOMPARE(circles[i]->toolTip(), names[i]);
        }
        const QImage frosted = circles[int(TileBackground::Frosted)]->grab().toImage();
        const QImage light = circles[int(TileBackground::Light)]->grab().toImage();
        const QPoint lowerRight(frosted.width() * 2 / 3, frosted.height() * 2 / 3);
        QVERIFY(contrast(frosted.pixelColor(lowerRight), light.pixelColor(lowerRight)) > 1.3);
    }

    // Focused controls and a tooltip in both languages and both themes.
    void gallery_data() { addGalleryLooks(); }
    void gallery() {
        QFETCH(bool, ukrainian);
        QFETCH(bool, dark);
        MainWindowTestBed bed;
        bed.settings->setLanguage(ukrainian ? AppLanguage::Ukrainian : AppLanguage::English);
        const ColorScheme scheme = dark ? ColorScheme::Dark : ColorScheme::Light;
        Stage stage(scheme);
        QVERIFY(QTest::qWaitForWindowActive(&stage.window));
        stage.prominent->setText(bed.localization.text(L10nKey::onboardingNext));
        stage.secondary->setText(bed.localization.text(L10nKey::onboardingBack));
        stage.card->setTexts(bed.localization.text(L10nKey::positionAboveDock),
                             bed.localization.text(L10nKey::onboardingOptionAboveDock));
        QList<QImage> shots;
        for (QWidget* control : std::initializer_list<QWidget*>{stage.prominent, stage.toggle, stage.card}) {
            control->clearFocus();
            control->setFocus(Qt::TabFocusReason);
            shots.append(stage.window.grab().toImage());
        }

        Theme::applyToToolTips(scheme);
        const QString tip = bed.localization.text(L10nKey::displayNameKey(TileBackground::Frosted));
        QToolTip::showText(stage.window.mapToGlobal(QPoint(20, 20)), tip, &stage.window);
        QWidget* label = nullptr;
        QTRY_VERIFY((label = [] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->inherits("QTipLabel") && widget->isVisible())
                    return widget;
            return static_cast<QWidget*>(nullptr);
        }()));
        const QImage tipImage = label->grab().toImage();
        // The tooltip's own fill is the theme's.
        QCOMPARE(tipImage.pixelColor(tipImage.width() / 2, 2).rgb(),
                 Theme::palette(scheme).color(QPalette::ToolTipBase).rgb());
        shots.append(tipImage);
        QToolTip::hideText();

        int height = 20;
        int width = 0;
        for (const QImage& shot : shots) {
            height += shot.height() + 20;
            width = std::max(width, shot.width() + 40);
        }
        QImage sheet(width, height, QImage::Format_RGB32);
        sheet.fill(QColor(120, 140, 170));
        QPainter painter(&sheet);
        int y = 20;
        for (const QImage& shot : shots) {
            painter.drawImage(20, y, shot);
            y += shot.height() + 20;
        }
        const QString name = QStringLiteral("focus-gallery-%1.png").arg(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(sheet.save(QCoreApplication::applicationDirPath() + u'/' + name));
    }
};

QTEST_MAIN(FocusAndContrastTest)
#include "FocusAndContrastTest.moc"
