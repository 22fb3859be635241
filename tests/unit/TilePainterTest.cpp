// What a user sees on a folder tile: shape, border, background colours by mode and theme,
// which cells hold icons, and the glyph.
#include "tile/TilePainter.h"
#include "tile/TileFill.h"
#include "tile/TileGeometry.h"

#include <QColor>
#include <QPainter>
#include <QTest>

namespace {

// Each app's icon is a solid square whose colour tells which app it is.
const QList<QColor> kAppColors{Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::magenta};

AppFolder folderWithApps(int count) {
    AppFolder folder(QUuid::createUuid(), QStringLiteral("Work"), QStringLiteral("star"), 0);
    for (int i = 0; i < count; ++i)
        folder.apps.append({QUuid::createUuid(), QString::number(i), QStringLiteral("b"),
                            QStringLiteral("file:///Applications/%1.app/").arg(i)});
    return folder;
}

TileDrawingContext context(bool lightTheme = false, double iconPadding = 4) {
    TileDrawingContext c;
    c.iconPadding = iconPadding;
    c.lightTheme = lightTheme;
    c.fileIcon = [](const QString& path, int size) {
        QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
        icon.fill(kAppColors.at(path.section('/', -1).section('.', 0, 0).toInt()));
        return icon;
    };
    // "star" is a symbol (a white square); anything else is text.
    c.symbol = [](const QString& name, double pointSize, bool, const QColor& color) -> std::optional<QImage> {
        if (name != QStringLiteral("star"))
            return std::nullopt;
        QImage image(qCeil(pointSize), qCeil(pointSize), QImage::Format_ARGB32_Premultiplied);
        image.fill(color);
        return image;
    };
    return c;
}

// An opaque tile of one colour, so that a pixel tells exactly what was drawn there.
TileStyleSettings solid(TileBackground background = TileBackground::Dark) {
    TileStyleSettings style;
    style.backgroundMode = TileBackgroundMode::Solid;
    style.backgroundStyle = background;
    style.opacity = 1;
    return style;
}

const QColor kDark = QColor::fromRgbF(0.1f, 0.1f, 0.1f);

QColor at(const QImage& image, double x, double y) {
    return image.pixelColor(int(x), int(y));
}

// The centres of the four app cells with the default padding (p = 60.42, g = 25.44, c = 138.86):
// the upper row left to right, then the lower one.
const QList<QPoint> kCellCentres{{174, 174}, {338, 174}, {174, 338}, {338, 338}};

} // namespace

class TilePainterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cornersAndBorderFollowTheStyle();
    void appsFillCellsInOrder_data();
    void appsFillCellsInOrder();
    void backgroundsByModeAndTheme();
    void glyphIsSymbolOrText();
};

void TilePainterTest::cornersAndBorderFollowTheStyle() {
    TileStyleSettings style = solid();
    const AppFolder folder = folderWithApps(0);
    const QImage rounded = TilePainter::render(style, context(), folder);
    QCOMPARE(at(rounded, 50, 50).alpha(), 0);        // cut away by the 96-point corner
    QCOMPARE(at(rounded, 43, 256).alpha(), 0);       // outside the 44-point inset
    QCOMPARE(at(rounded, 256, 256).alpha(), 255);    // the tile itself
    QVERIFY(at(rounded, 44 + 96, 46).alpha() > 200); // the straight edge after the corner

    style.cornerRadius = 0;
    QCOMPARE(at(TilePainter::render(style, context(), folder), 50, 50).alpha(), 255);

    // The border lies inside the tile: 20 points wide, from x = 44 to 64.
    style.borderEnabled = true;
    style.borderWidth = 10;
    style.borderOpacity = 1;
    const QImage bordered = TilePainter::render(style, context(), folder);
    QCOMPARE(at(bordered, 54, 256), QColor(Qt::white));
    QCOMPARE(at(bordered, 80, 256).rgb(), kDark.rgb());
    QCOMPARE(at(bordered, 40, 256).alpha(), 0);
    // However thin the style asks for, the line stays visible.
    QCOMPARE(TileGeometry::make(512, 12, 0.1, 0).borderWidth, 0.5);
}

void TilePainterTest::appsFillCellsInOrder_data() {
    QTest::addColumn<int>("apps");
    QTest::addColumn<QList<int>>("cellApps"); // the app shown in cells 0…3, -1 for none
    QTest::newRow("one") << 1 << QList<int>{0, -1, -1, -1};
    QTest::newRow("three") << 3 << QList<int>{0, 1, 2, -1};
    QTest::newRow("five") << 5 << QList<int>{0, 1, 2, 3};
    QTest::newRow("none") << 0 << QList<int>{-1, -1, -1, -1};
}

void TilePainterTest::appsFillCellsInOrder() {
    QFETCH(int, apps);
    QFETCH(QList<int>, cellApps);
    const TileStyleSettings style = solid();
    const QImage image = TilePainter::render(style, context(), folderWithApps(apps));
    for (int cell = 0; cell < 4; ++cell) {
        const QColor expected = cellApps[cell] < 0 ? kDark : kAppColors[cellApps[cell]];
        QCOMPARE(image.pixelColor(kCellCentres[cell]).rgb(), expected.rgb());
    }
    // Nothing of a fifth app anywhere.
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4)
            QVERIFY(image.pixel(x, y) != QColor(Qt::magenta).rgba());
    }

    // No padding still leaves a margin: p = 33.92, so the icon starts at x = 77.92.
    TileStyleSettings square = style;
    square.cornerRadius = 0;
    const QImage unpadded = TilePainter::render(square, context(false, 0), folderWithApps(apps));
    QCOMPARE(at(unpadded, 75, 200).rgb(), kDark.rgb());
    QCOMPARE(at(unpadded, 80, 200).rgb(), (apps ? QColor(Qt::red) : kDark).rgb());
}

void TilePainterTest::backgroundsByModeAndTheme() {
    TileStyleSettings style = solid(TileBackground::Blue);
    const AppFolder folder = folderWithApps(0);

    // Gradient: lighter than the base at the top, darker at the bottom.
    style.backgroundMode = TileBackgroundMode::Gradient;
    const QImage gradient = TilePainter::render(style, context(), folder);
    const auto stops = TileFill::gradientStops(baseColor(style, Appearance::Dark));
    QVERIFY(at(gradient, 256, 50).lightness() > at(gradient, 256, 256).lightness());
    QVERIFY(at(gradient, 256, 256).lightness() > at(gradient, 256, 460).lightness());
    QVERIFY(qAbs(at(gradient, 256, 45).redF() - stops[0].red) < 0.03);
    QVERIFY(qAbs(at(gradient, 256, 466).blueF() - stops[2].blue) < 0.03);

    // Glass ignores the colour and is more opaque in the light theme.
    style.backgroundMode = TileBackgroundMode::Glass;
    const QImage light = TilePainter::render(style, context(true), folder);
    const QImage dark = TilePainter::render(style, context(false), folder);
    QCOMPARE(at(light, 256, 45).red(), 255);
    QCOMPARE(at(light, 256, 45).blue(), 255);
    QVERIFY(qAbs(at(light, 256, 45).alphaF() - 0.88) < 0.02);
    QVERIFY(qAbs(at(dark, 256, 45).alphaF() - 0.45) < 0.02);
    QVERIFY(qAbs(at(dark, 256, 466).alphaF() - 0.2) < 0.02);

    // A custom colour that does not parse falls back to the light colour.
    style = solid(TileBackground::Custom);
    style.customHex = QStringLiteral("not a colour");
    QCOMPARE(at(TilePainter::render(style, context(), folder), 256, 256).red(), qRound(0.95 * 255));
    style.customHex = QStringLiteral("#FF8000");
    QCOMPARE(at(TilePainter::render(style, context(), folder), 256, 256).rgb(), QColor(255, 128, 0).rgb());
}

void TilePainterTest::glyphIsSymbolOrText() {
    TileStyleSettings style = solid();
    style.displayFolderIcon = true;
    AppFolder folder = folderWithApps(2); // apps are not drawn under a glyph
    const TileGeometry g = TileGeometry::make(512, style.cornerRadius, style.borderWidth, 4);

    const QImage symbol = TilePainter::render(style, context(), folder);
    const TileRect square = flipped(g.symbolRect(), 512);
    QCOMPARE(at(symbol, 256, 256), QColor(Qt::white));
    QCOMPARE(at(symbol, square.x + 2, square.y + 2), QColor(Qt::white));
    QVERIFY(at(symbol, square.x - 3, 256) != QColor(Qt::white));
    QVERIFY(symbol.pixelColor(kCellCentres[0]) != QColor(Qt::red));

    // Text is drawn in white around the centre, not as a filled square.
    folder.emoji = QStringLiteral("AB");
    const QImage text = TilePainter::render(style, context(), folder);
    int white = 0;
    for (int x = 100; x < 412; ++x)
        white += at(text, x, 256).lightness() > 200;
    QVERIFY(white > 20);
    QVERIFY(at(text, square.x + 2, square.y + 2) != QColor(Qt::white));
}

QTEST_MAIN(TilePainterTest)
#include "TilePainterTest.moc"
