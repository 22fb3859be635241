// The built bundle's icons: the application icon named by CFBundleIconFile, drawn natively at every
// size a Dock or a window list asks for, and the menu-bar mark, black on transparency for the menu
// bar to tint. Writes app-icon-sizes.png (16, 32, 128 and 512 pixels on a light and a dark ground)
// next to the test for a person to look at.
#include "platform/Bundle.h"
#include "platform/FileIcons.h"

#include <QImageReader>
#include <QPainter>
#include <QtTest>

namespace {

const Bundle kBundle{QStringLiteral(TRELLIN_BUNDLE_DIR)};

// How many pixels of `image` are close to `colour`.
int pixelsNear(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() > 200 && qAbs(pixel.red() - colour.red()) < 30 &&
                qAbs(pixel.green() - colour.green()) < 30 && qAbs(pixel.blue() - colour.blue()) < 30)
                ++count;
        }
    }
    return count;
}

} // namespace

class AppIconTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theBundleNamesAnIconWithEverySize() {
        QCOMPARE(kBundle.infoValue("CFBundleIconFile").toString(), "AppIcon");
        QImageReader reader(kBundle.resourcesPath() + "/AppIcon.icns");
        QList<int> sides;
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read();
            QCOMPARE(image.width(), image.height());
            sides.append(image.width());
        }
        std::sort(sides.begin(), sides.end());
        QCOMPARE(sides, (QList<int>{16, 32, 64, 128, 256, 512}));
    }

    // What the Dock shows for the bundle is that icon, at each size sharp (not the generic icon): the
    // blue of the tile and the white of one cell of the grid are there even at 16 pixels.
    void theDockFindsItAtEachSize() {
        QImage sheet(2 * (16 + 32 + 128 + 512 + 5 * 16), 512 + 32, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&sheet);
        painter.fillRect(QRect(0, 0, sheet.width() / 2, sheet.height()), QColor(236, 236, 236));
        painter.fillRect(QRect(sheet.width() / 2, 0, sheet.width() / 2, sheet.height()), QColor(30, 30, 34));
        for (const int start : {16, sheet.width() / 2 + 16}) {
            int x = start;
            for (const int side : {16, 32, 128, 512}) {
                const QImage icon = FileIcons::iconForPath(kBundle.path(), side);
                QCOMPARE(icon.size(), QSize(side, side));
                const double area = side * side;
                QVERIFY2(pixelsNear(icon, Qt::white) >= area * 0.03, qPrintable(QString::number(side)));
                QVERIFY2(pixelsNear(icon, QColor(0x45, 0x8A, 0xF2)) >= area * 0.05, qPrintable(QString::number(side)));
                QCOMPARE(icon.pixelColor(0, 0).alpha(), 0); // the corners are clear, the tile rounded
                painter.drawImage(x, 16, icon);
                // The small ones once more, magnified pixel for pixel, to judge them.
                if (side <= 32)
                    painter.drawImage(QRect(start, side == 16 ? 160 : 280, side * 96 / side, 96), icon);
                x += side + 16;
            }
        }
        painter.end();
        QVERIFY(sheet.save(QCoreApplication::applicationDirPath() + "/app-icon-sizes.png"));
    }

    // The menu-bar mark is a template: black, its shape only in its transparency.
    void theMenuBarMarkIsATemplate() {
        for (const char* name : {"MenuBarIcon.png", "MenuBarIcon@2x.png"}) {
            const QImage mark(kBundle.resourcesPath() + "/" + name);
            QVERIFY2(!mark.isNull(), name);
            int opaque = 0;
            for (int y = 0; y < mark.height(); ++y) {
                for (int x = 0; x < mark.width(); ++x) {
                    const QColor pixel = mark.pixelColor(x, y);
                    if (pixel.alpha() == 0)
                        continue;
                    QCOMPARE(pixel.red() + pixel.green() + pixel.blue(), 0);
                    opaque += pixel.alpha() > 200;
                }
            }
            QVERIFY(opaque > mark.width() * mark.height() / 6);
        }
        QCOMPARE(QImage(kBundle.resourcesPath() + "/MenuBarIcon.png").size(), QSize(22, 22));
    }
};

QTEST_MAIN(AppIconTest)
#include "AppIconTest.moc"
