// The onboarding's three steps in a 560 × 550 window (its top taken by a stand-in for the title
// bar), in both languages and both themes, written next to the test as
// onboarding-gallery-<language>-<theme>.png for a person to look at; and the check that every
// step's content stays clear of the footer.
#include "GalleryLooks.h"
#include "MainWindowTestBed.h"
#include "TestFiles.h"
#include "settings/LocalizationKeys.h"
#include "ui/OnboardingFeatureRow.h"
#include "ui/OnboardingOptionCard.h"
#include "ui/OnboardingToggleRow.h"
#include "ui/OnboardingView.h"
#include "widgets/Fonts.h"
#include "widgets/RowNote.h"
#include "widgets/TextButton.h"
#include "widgets/Theme.h"
#include "widgets/ToggleSwitch.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>

class OnboardingGalleryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void galleryOfSteps_data() { addGalleryLooks(); }

    void galleryOfSteps() {
        QFETCH(bool, ukrainian);
        QFETCH(bool, dark);
        MainWindowTestBed bed;
        bed.settings->setLanguage(ukrainian ? AppLanguage::Ukrainian : AppLanguage::English);
        bed.settings->setAppTheme(dark ? AppThemeMode::Dark : AppThemeMode::Light);
        QWidget window;
        window.setPalette(Theme::palette(colorSchemeFor(bed.settings->appTheme())));
        window.setAutoFillBackground(true);
        window.setFixedSize(560, 550);
        auto* title = new QLabel(bed.localization.text(L10nKey::onboardingWindowTitle), &window);
        title->setFont(Fonts::rounded(13, QFont::Bold));
        title->setAlignment(Qt::AlignCenter);
        title->setFixedHeight(46);
        auto* view = new OnboardingView(
            bed.environment, [](bool) {}, &window);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(title);
        layout->addWidget(view, 1);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QList<QImage> shots;
        const auto clearOfFooter = [view](QWidget* last) {
            const int bottom = last->mapTo(view, QPoint(0, last->height())).y();
            return bottom < view->primaryButton()->mapTo(view, QPoint(0, 0)).y();
        };
        shots.append(shot(window, bed));
        QVERIFY(clearOfFooter(view->findChildren<OnboardingFeatureRow*>().constLast()));
        view->advance();
        shots.append(shot(window, bed));
        QVERIFY(clearOfFooter(view->optionCard(PopupPosition::Center)));
        view->advance();
        view->menuBarRow()->toggleSwitch()->click();
        shots.append(shot(window, bed));
        QVERIFY(clearOfFooter(view->launchAtLoginRow()));
        QVERIFY2(squeezedLabel(view).isEmpty(), qPrintable(squeezedLabel(view)));
        view->goBack();
        bed.clock.advance(0.1); // mid-way between two steps
        shots.append(shot(window, bed, false));
        // The last step again with both notes: no tray, and launch at login refused.
        bed.clock.advance(0.3);
        view->advance();
        bed.tray.setAvailable(false);
        QVERIFY(writeFile(bed.home.path("config/autostart"), {}));
        view->launchAtLoginRow()->toggleSwitch()->click();
        shots.append(shot(window, bed));
        QVERIFY(clearOfFooter(view->launchAtLoginNote()));
        QVERIFY2(squeezedLabel(view).isEmpty(), qPrintable(squeezedLabel(view)));
        // That step alone, too, to look at the notes closely.
        QVERIFY(shots.constLast().save(
            QCoreApplication::applicationDirPath() +
            QStringLiteral("/onboarding-gallery-notes-%1.png").arg(QString::fromLatin1(QTest::currentDataTag()))));

        const QString name =
            QStringLiteral("onboarding-gallery-%1.png").arg(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(sheet(shots).save(QCoreApplication::applicationDirPath() + u'/' + name));
    }

private:
    // The text of a shown label given less height than its lines need (their letters cut or run
    // into the next line), or nothing when every text fits.
    static QString squeezedLabel(QWidget* view) {
        for (QLabel* label : view->findChildren<QLabel*>()) {
            if (!label->isVisibleTo(view) || label->text().isEmpty())
                continue;
            const int needed = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
            if (label->height() < needed)
                return QStringLiteral("%1: %2 < %3").arg(label->text()).arg(label->height()).arg(needed);
        }
        return {};
    }

    static QImage shot(QWidget& window, MainWindowTestBed& bed, bool settle = true) {
        if (settle)
            bed.clock.advance(0.3);
        QTest::qWait(settle ? 300 : 0); // the switch's knob springs on the toolkit's clock
        QImage image(window.size() * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(Qt::black);
        QPainter painter(&image);
        window.render(&painter);
        return image;
    }

    static QImage sheet(const QList<QImage>& shots) {
        const QSize cell = shots.first().size();
        QImage sheet(int(shots.size()) * (cell.width() + 20) + 20, cell.height() + 40, QImage::Format_RGB32);
        sheet.fill(QColor(120, 140, 170));
        QPainter painter(&sheet);
        for (int i = 0; i < shots.size(); ++i) {
            QImage image = shots[i];
            image.setDevicePixelRatio(1);
            painter.drawImage(20 + i * (cell.width() + 20), 20, image);
        }
        return sheet;
    }
};

QTEST_MAIN(OnboardingGalleryTest)
#include "OnboardingGalleryTest.moc"
