// The tile page offscreen: how picked colours are stored, the swipe rule, the background choices,
// the target folder, the controls writing through the store, and the preview strip's selection.
#include "MainWindowTestBed.h"
#include "ui/AppearanceSettingsView.h"
#include "ui/BackgroundColorRow.h"
#include "ui/CustomColorPickerPopup.h"
#include "ui/TileColorHex.h"
#include "ui/TilePreviewStrip.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/SettingsRow.h"
#include "widgets/SettingsSlider.h"
#include "widgets/ToggleSwitch.h"

#include <QAccessible>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using TileColorHex::hexString;
using TileColorHex::swipeTarget;

class AppearanceSettingsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindowTestBed> m_bed;

    std::unique_ptr<AppearanceSettingsView> page(int folders) {
        for (int i = 0; i < folders; ++i)
            m_bed->store.addFolder(MainWindowTestBed::folder(QStringLiteral("Folder %1").arg(i + 1), i + 1));
        auto view = std::make_unique<AppearanceSettingsView>(m_bed->environment);
        view->resize(520, view->sizeHint().height());
        view->show();
        return view;
    }
    const TileStyleSettings& style(int index) const { return m_bed->store.folders().at(index).tileStyle; }

private Q_SLOTS:
    void init() { m_bed = std::make_unique<MainWindowTestBed>(); }
    void cleanup() { m_bed.reset(); }

    void hexAndSwatchRules() {
        QCOMPARE(hexString(QColor(Qt::red)), QStringLiteral("FF0000"));
        // 0.5 × 255 = 127.5 goes up to 128; just under stays at 127.
        QCOMPARE(hexString(Rgba{0.5, 0.498, 1.0 / 255 * 0.5, 1}), QStringLiteral("807F01"));
        QCOMPARE(hexString(QColor()), QStringLiteral("FFFFFF"));
        QCOMPARE(hexString(QColor::fromHsvF(0, 1, 1)), QStringLiteral("FF0000"));
        // Components beyond the range still make six digits, not "100" or a minus sign.
        QCOMPARE(hexString(Rgba{1.4, -0.2, 0.0, 1}), QStringLiteral("FF0000"));

        QVERIFY(TileColorHex::isSameSwatch(QColor::fromRgbF(0.5f, 0.5f, 0.5f), QColor::fromRgbF(0.515f, 0.49f, 0.5f)));
        QVERIFY(!TileColorHex::isSameSwatch(QColor::fromRgbF(0.5f, 0.5f, 0.5f), QColor::fromRgbF(0.5f, 0.5f, 0.53f)));
        QVERIFY(TileColorHex::isSameSwatch(QColor(), Qt::white));
    }

    void controlsWithoutEffectAreDisabled() {
        auto view = page(2);
        const auto rowOf = [&view](QWidget* control) -> SettingsRow* {
            for (SettingsRow* row : view->rows())
                if (row->trailing() == control)
                    return row;
            return nullptr;
        };
        const auto enabled = [&view, &rowOf] {
            QList<bool> states;
            for (QWidget* control : std::initializer_list<QWidget*>{view->borderWidthSlider(),
                                                                    view->borderOpacitySlider(), view->colorRow()})
                states.append(rowOf(control)->isEnabled() && control->isEnabled());
            return states;
        };
        // A new folder has no border, so its width and opacity have nothing to change.
        QVERIFY(!style(0).borderEnabled);
        QCOMPARE(enabled(), QList<bool>({false, false, true}));
        QVERIFY(view->borderSwitch()->isEnabled() && view->cornerRadiusSlider()->isEnabled());
        QTest::mouseClick(view->borderSwitch(), Qt::LeftButton);
        QVERIFY(style(0).borderEnabled);
        QCOMPARE(enabled(), QList<bool>({true, true, true}));
        // Glass takes no colour from the circles.
        view->backgroundModePicker()->setSelection(2);
        view->setBackgroundMode(TileBackgroundMode::Glass);
        QCOMPARE(enabled(), QList<bool>({true, true, false}));
        // A disabled circle takes no click.
        QTest::mouseClick(view->colorRow()->circles().at(3), Qt::LeftButton);
        QCOMPARE(style(0).backgroundStyle, TileStyleSettings().backgroundStyle);
        // The states follow the folder chosen in the strip, which has neither.
        view->selectPreview(m_bed->store.folders().at(1).id);
        QCOMPARE(enabled(), QList<bool>({false, false, true}));
        view->selectPreview(m_bed->store.folders().at(0).id);
        QCOMPARE(enabled(), QList<bool>({true, true, false}));
    }

    void swipeRule() {
        QCOMPARE(swipeTarget(1, 3, -51), 1);
        QCOMPARE(swipeTarget(1, 3, -51.5), 2);
        QCOMPARE(swipeTarget(1, 3, 51), 1);
        QCOMPARE(swipeTarget(1, 3, 51.5), 0);
        QCOMPARE(swipeTarget(2, 3, -400), 2);
        QCOMPARE(swipeTarget(0, 3, 400), 0);
        QCOMPARE(swipeTarget(0, 1, -1000), 0);
        QCOMPARE(swipeTarget(0, 1, 1000), 0);
        QCOMPARE(swipeTarget(0, 0, -100), -1);
    }

    void backgroundChoices() {
        auto view = page(1);
        // A custom colour from the picker: style custom, colour as hex, live while dragging.
        view->openCustomColorPicker();
        CustomColorPickerPopup* picker = view->colorPicker();
        QVERIFY(picker);
        QVERIFY(view->isShowingCustomColorPicker());
        picker->dragHue(0);
        picker->dragSquare(10000, 10000); // clamped: full saturation and brightness
        QCOMPARE(picker->saturation(), 1.0);
        QCOMPARE(style(0).backgroundStyle, TileBackground::Custom);
        QCOMPARE(style(0).customHex, std::optional<QString>(QStringLiteral("FF0000")));
        picker->dragSquare(-5, picker->square()->height() / 2.0);
        QCOMPARE(picker->saturation(), 0.0);
        QCOMPARE(picker->brightness(), 0.5);
        QCOMPARE(style(0).customHex, std::optional<QString>(QStringLiteral("808080")));
        picker->chooseSwatch(5);
        QVERIFY(picker->isSwatchSelected(5));
        QVERIFY(!picker->isSwatchSelected(0));
        QCOMPARE(style(0).customHex, std::optional<QString>(hexString(picker->swatches().at(5))));
        QVERIFY(view->colorRow()->customCircle()->isSelected());
        picker->close();
        QTRY_VERIFY(!view->isShowingCustomColorPicker());

        // Reopening starts from the stored colour.
        view->chooseCustomColor(QColor(0, 0, 255));
        view->openCustomColorPicker();
        QCOMPARE(qRound(view->colorPicker()->hue() * 360), 240);
        view->colorPicker()->close();

        // A preset circle drops the stored colour.
        view->colorRow()->circles().at(int(TileBackground::Purple))->click();
        QCOMPARE(style(0).backgroundStyle, TileBackground::Purple);
        QCOMPARE(style(0).customHex, std::nullopt);
        QVERIFY(view->colorRow()->circles().at(int(TileBackground::Purple))->isSelected());
        QVERIFY(!view->colorRow()->customCircle()->isSelected());
    }

    void noFoldersChangesNothing() {
        auto view = page(0);
        QVERIFY(view->emptyPreview()->isVisible());
        QVERIFY(!view->previewStrip()->isVisible());
        QCOMPARE(view->emptyMessage()->text(), QStringLiteral("Create a folder to preview tile styles"));
        QCOMPARE(view->cornerRadiusSlider()->valueText(), QStringLiteral("12 pt"));
        view->setCornerRadius(18);
        view->setBorderEnabled(true);
        view->choosePreset(TileBackground::Dark);
        view->chooseCustomColor(Qt::red);
        view->openCustomColorPicker();
        QVERIFY(!view->isShowingCustomColorPicker());
        QVERIFY(m_bed->store.folders().isEmpty());

        // The first folder added becomes the target and replaces the empty state.
        m_bed->store.addFolder(MainWindowTestBed::folder(QStringLiteral("New"), 0));
        QVERIFY(view->previewStrip()->isVisible());
        QCOMPARE(view->targetFolder()->name, QStringLiteral("New"));
    }

    void controlsWriteThroughTheStore() {
        auto view = page(3);
        const QUuid deleted = m_bed->store.folders().at(1).id;
        view->selectPreview(deleted);
        QCOMPARE(view->targetFolder()->id, deleted);
        m_bed->store.deleteFolder(deleted, 0);
        QCOMPARE(view->targetFolder()->id, m_bed->store.folders().at(0).id);
        QCOMPARE(view->previewStrip()->selectedIndex(), 0);

        // Rows in order, each control named after its row.
        QStringList titles;
        for (SettingsRow* row : view->rows())
            titles.append(row->title());
        QCOMPARE(titles, QStringList({"Corner Radius", "Tile Opacity", "Border", "Border Width", "Border Opacity",
                                      "Background Style", "Background"}));
        QCOMPARE(view->backgroundModePicker()->accessibleName(), QStringLiteral("Background Style"));

        QTest::keyClick(view->cornerRadiusSlider(), Qt::Key_Right);
        // The width takes input once there is a border to be wide.
        QTest::mouseClick(view->borderSwitch(), Qt::LeftButton);
        QTest::keyClick(view->borderWidthSlider(), Qt::Key_Left);
        QTest::keyClick(view->backgroundModePicker(), Qt::Key_Right);
        const TileStyleSettings& first = style(0);
        QCOMPARE(first.cornerRadius, 13.0);
        QCOMPARE(first.borderWidth, 2.5);
        QVERIFY(first.borderEnabled);
        QCOMPARE(first.backgroundMode, TileBackgroundMode::Glass);
        QCOMPARE(first.opacity, 0.64); // untouched fields keep their values
        QCOMPARE(view->borderWidthSlider()->valueText(), QStringLiteral("2.5"));
        QCOMPARE(style(1), TileStyleSettings()); // the other folder is left alone

        m_bed->settings->setLanguage(AppLanguage::Ukrainian);
        QCOMPARE(view->borderWidthSlider()->valueText(), QStringLiteral("2,5"));
        QCOMPARE(view->cornerRadiusSlider()->valueText(), QStringLiteral("13 пт"));
    }

    void stripSelects() {
        auto view = page(3);
        TilePreviewStrip* strip = view->previewStrip();
        QCOMPARE(strip->accessibleName(), QStringLiteral("Preview"));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(strip);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("Folder 1"));

        // A click on the neighbour's tile selects it, and the controls follow it.
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tileRect(1).center().toPoint());
        QCOMPARE(strip->selectedIndex(), 1);
        QCOMPARE(view->selectedPreviewID(), std::optional(m_bed->store.folders().at(1).id));
        QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("Folder 2"));
        view->setOpacity(0.5);
        QCOMPARE(style(1).opacity, 0.5);
        QCOMPARE(view->opacitySlider()->valueText(), QStringLiteral("50%"));

        QTest::keyClick(strip, Qt::Key_Right);
        QCOMPARE(strip->selectedIndex(), 2);
        QTest::keyClick(strip, Qt::Key_Right); // already the last
        QCOMPARE(strip->selectedIndex(), 2);

        // A swipe to the right past the threshold goes back one; a short one stays.
        const QPoint start(strip->width() / 2, 40);
        const auto swipe = [&](int dx) {
            QTest::mousePress(strip, Qt::LeftButton, {}, start);
            QTest::mouseMove(strip, start + QPoint(dx / 2, 0));
            QTest::mouseMove(strip, start + QPoint(dx, 0));
            QCOMPARE(strip->dragOffset(), double(dx));
            QTest::mouseRelease(strip, Qt::LeftButton, {}, start + QPoint(dx, 0));
            QCOMPARE(strip->dragOffset(), 0.0);
        };
        swipe(40);
        QCOMPARE(strip->selectedIndex(), 2);
        swipe(60);
        QCOMPARE(strip->selectedIndex(), 1);
        QCOMPARE(view->targetFolder()->name, QStringLiteral("Folder 2"));
    }

    void longSwipeWithOneFolderKeepsIt() {
        auto view = page(1);
        TilePreviewStrip* strip = view->previewStrip();
        QSignalSpy changes(strip, &TilePreviewStrip::selectionChanged);
        const QPoint start(strip->width() / 2, 40);
        QTest::mousePress(strip, Qt::LeftButton, {}, start);
        QTest::mouseMove(strip, start - QPoint(200, 0));
        QTest::mouseRelease(strip, Qt::LeftButton, {}, start - QPoint(200, 0));
        QCOMPARE(strip->selectedIndex(), 0);
        QCOMPARE(changes.count(), 0);
    }
};

QTEST_MAIN(AppearanceSettingsTest)
#include "AppearanceSettingsTest.moc"
