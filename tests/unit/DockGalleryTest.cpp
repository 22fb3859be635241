// The Dock as it stands on the test screen with eleven 124-point tiles, the pointer on one of
// them and its name above it, written next to the test as dock-gallery-<language>-<theme>.png for a
// person to look at; and the check that the name reads on its plate in either palette.
#include "dock/DockLabel.h"
#include "dock/DockTiles.h"
#include "dock/DockWindow.h"
#include "platform/FileIconCache.h"

#include "GalleryLooks.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTest>

namespace {

QPalette paletteFor(bool dark) {
    return dark ? QPalette(QColor(60, 60, 64), QColor(32, 32, 36))
                : QPalette(QColor(236, 236, 236), QColor(246, 246, 246));
}

// WCAG's contrast ratio of two opaque colours.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

} // namespace

class DockGalleryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theNameReadsOnItsPlate() {
        for (const bool dark : {false, true}) {
            const DockLabel::Colours colours = DockLabel::coloursFor(paletteFor(dark));
            QVERIFY(colours.plate.alpha() >= 230);
            QVERIFY2(contrast(colours.plate, colours.text) >= 7, dark ? "dark" : "light");
        }
    }

    void galleryOfAFullDock_data() { addGalleryLooks(); }
    void galleryOfAFullDock() {
        QFETCH(bool, ukrainian);
        QFETCH(bool, dark);
        QApplication::setPalette(paletteFor(dark));
        DockTiles tiles;
        FileIconCache icons;
        DockWindow window(tiles, icons, true);
        DockConfiguration configuration;
        configuration.tileSize = 124;
        window.setConfiguration(configuration);
        const QStringList names = ukrainian ? QStringList{"Робота", "Ігри", "Графіка", "Офіс"}
                                            : QStringList{"Work", "Games", "Graphics", "Office"};
        for (int i = 0; i < 11; ++i) {
            const QString path = QString("/Applications/%1.app").arg(names.value(i, QString("App %1").arg(i)));
            tiles.registerApplication("owner", path);
            QImage content(124, 124, QImage::Format_ARGB32_Premultiplied);
            content.fill(Qt::transparent);
            QPainter painter(&content);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setBrush(QColor::fromHsv(i * 32, 150, 220));
            painter.setPen(Qt::NoPen);
            painter.drawRoundedRect(QRectF(6, 6, 112, 112), 26, 26);
            painter.end();
            tiles.setContent("owner", path, content);
        }
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QList<DockTileRecord> records = window.tileRecords();
        QCOMPARE(records.size(), 11);
        for (const DockTileRecord& record : records)
            QVERIFY(screen.contains(record.geometry));

        // The pointer on the second tile: its name, as the Dock knows it, stands above it.
        const QPoint on = window.mapFromGlobal(records.at(1).geometry.center());
        QMouseEvent move(QEvent::MouseMove, on, window.mapToGlobal(on), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(&window, &move);
        auto* label = window.findChild<DockLabel*>();
        QVERIFY(label && label->isVisible());
        QCOMPARE(label->text(), records.at(1).label);
        QVERIFY(label->geometry().bottom() < records.at(1).geometry.top());

        QImage shot(screen.size(), QImage::Format_ARGB32_Premultiplied);
        shot.fill(dark ? QColor(28, 30, 38) : QColor(200, 214, 230));
        QPainter painter(&shot);
        painter.drawImage(window.geometry().topLeft(), window.grab().toImage());
        painter.drawImage(label->geometry().topLeft(), label->grab().toImage());
        painter.end();
        const QString tag = QTest::currentDataTag();
        QVERIFY(shot.save(QCoreApplication::applicationDirPath() + "/dock-gallery-" + tag + ".png"));
    }
};

QTEST_MAIN(DockGalleryTest)
#include "DockGalleryTest.moc"
