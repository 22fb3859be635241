// The General, Popup and About pages in both languages and both themes, and the General page again
// with its notes, written next to the test as settings-gallery-<language>-<theme>.png (the notes
// also alone, as settings-gallery-notes-…) for a person to look at.
#include "GalleryLooks.h"
#include "MainWindowTestBed.h"
#include "TestFiles.h"
#include "platform/DockExtension.h"
#include "ui/AboutView.h"
#include "ui/GeneralSettingsView.h"
#include "ui/PopupSettingsView.h"
#include "widgets/Theme.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTest>

namespace {

// GNOME Shell's extension as offered, then installed and waiting for the next login (with its note).
struct GalleryExtension final : DockExtension {
    State state() const override { return current; }
    std::optional<QString> install() override { return std::nullopt; }
    State current = State::NotInstalled;
};

} // namespace

class SettingsGalleryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pages_data() { addGalleryLooks(); }

    void pages() {
        QFETCH(bool, ukrainian);
        QFETCH(bool, dark);
        MainWindowTestBed bed;
        bed.settings->setLanguage(ukrainian ? AppLanguage::Ukrainian : AppLanguage::English);
        bed.settings->setPopupIconSize(52.9);
        // The longest of the docks' names, under the dock row's title.
        bed.environment.activeDockName = [] { return QStringLiteral("GNOME Shell"); };
        GalleryExtension extension;
        bed.environment.dockExtension = [&extension]() -> DockExtension* { return &extension; };
        // A desktop with app folders of its own, so the page offers to bring them in.
        bed.desktopAppFolders.list = {
            {QStringLiteral("Office"), QStringLiteral("Office"), {}, {QStringLiteral("Office")}, {}}};
        GeneralSettingsView general(bed.environment);
        PopupSettingsView popup(bed.environment);
        AboutView about(bed.environment, QStringLiteral("1.4.2"));
        const QPalette palette = Theme::palette(dark ? ColorScheme::Dark : ColorScheme::Light);
        QList<QImage> shots;
        const auto shoot = [&shots, &palette](QWidget* page) {
            page->setPalette(palette);
            page->setAutoFillBackground(true);
            page->setBackgroundRole(QPalette::Window);
            page->resize(560, page->sizeHint().height());
            page->show();
            QTest::qWait(20);
            // Nothing is cut: the page's natural size fits its content.
            QVERIFY(page->minimumSizeHint().width() <= 560);
            QVERIFY2(page->minimumSizeHint().height() <= page->height(),
                     qPrintable(QStringLiteral("%1 %2 %3 %4")
                                    .arg(page->metaObject()->className())
                                    .arg(page->minimumSizeHint().height())
                                    .arg(page->height())
                                    .arg(page->sizeHint().height())));
            QImage image(page->size() * 2, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(2);
            image.fill(Qt::magenta);
            QPainter painter(&image);
            page->render(&painter);
            shots.append(image);
        };
        for (QWidget* page : std::initializer_list<QWidget*>{&general, &popup, &about})
            shoot(page);
        // The general page again with its notes: no tray, launch at login refused, the extension
        // waiting for the next login.
        extension.current = DockExtension::State::Installed;
        general.refreshActiveDock();
        bed.tray.setAvailable(false);
        QVERIFY(writeFile(bed.home.path("config/autostart"), {}));
        bed.settings->setLaunchAtLogin(true);
        QTest::qWait(20);
        shoot(&general);
        int width = 20;
        int height = 0;
        for (const QImage& shot : shots) {
            width += shot.width() + 20;
            height = std::max(height, shot.height());
        }
        QImage sheet(width, height + 40, QImage::Format_RGB32);
        sheet.fill(QColor(120, 140, 170));
        QPainter painter(&sheet);
        int x = 20;
        for (QImage shot : shots) {
            shot.setDevicePixelRatio(1);
            painter.drawImage(x, 20, shot);
            x += shot.width() + 20;
        }
        // The page with its notes alone, too, to look at closely.
        QImage notes = shots.constLast();
        notes.setDevicePixelRatio(1);
        QVERIFY(notes.save(
            QCoreApplication::applicationDirPath() +
            QStringLiteral("/settings-gallery-notes-%1.png").arg(QString::fromLatin1(QTest::currentDataTag()))));
        const QString name =
            QStringLiteral("settings-gallery-%1.png").arg(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(sheet.save(QCoreApplication::applicationDirPath() + u'/' + name));
    }
};

QTEST_MAIN(SettingsGalleryTest)
#include "SettingsGalleryTest.moc"
