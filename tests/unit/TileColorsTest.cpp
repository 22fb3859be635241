// A tile style's base colour and the custom colour text users and files hold.
#include "model/TileColors.h"

#include <QColor>
#include <QTest>

class TileColorsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void colorFromHex_data();
    void colorFromHex();
    void baseColorFollowsStyleAndOpacity();
};

void TileColorsTest::colorFromHex_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rgb"); // -1: refused
    QTest::newRow("number sign") << "#1E90FF" << 0x1E90FF;
    QTest::newRow("spaces, lower case") << "  1e90ff \n" << 0x1E90FF;
    QTest::newRow("plus sign") << "+0000FF" << 0x0000FF;
    QTest::newRow("black") << "000000" << 0;
    QTest::newRow("five digits") << "#1E90F" << -1;
    QTest::newRow("eight digits") << "#1E90FFAA" << -1;
    QTest::newRow("six G") << "GGGGGG" << -1;
    QTest::newRow("inner space") << "1E 0FF" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("non-ASCII digits") << "١٢٣٤٥٦" << -1;
}

void TileColorsTest::colorFromHex() {
    QFETCH(QString, text);
    QFETCH(int, rgb);
    const std::optional<Rgba> color = ::colorFromHex(text);
    QCOMPARE(color.has_value(), rgb >= 0);
    if (color)
        QCOMPARE(*color, (Rgba{qRed(rgb) / 255.0, qGreen(rgb) / 255.0, qBlue(rgb) / 255.0, 1.0}));
}

void TileColorsTest::baseColorFollowsStyleAndOpacity() {
    TileStyleSettings style;
    style.opacity = 0.5;
    QCOMPARE(baseColor(style), (Rgba{0.95, 0.95, 0.95, 0.5}));

    // A custom style without a usable colour looks like a light one.
    TileStyleSettings custom = style;
    custom.backgroundStyle = TileBackground::Custom;
    QCOMPARE(baseColor(custom), baseColor(style));
    custom.customHex = QStringLiteral("nonsense");
    QCOMPARE(baseColor(custom), baseColor(style));
    custom.customHex = QStringLiteral("FF8000");
    QCOMPARE(baseColor(custom), (Rgba{1.0, 128 / 255.0, 0.0, 0.5}));

    TileStyleSettings frosted;
    frosted.backgroundStyle = TileBackground::Frosted;
    frosted.opacity = 1.0;
    QCOMPARE(baseColor(frosted).alpha, 0.85);
    QCOMPARE(baseColor(frosted).red, 0.9);

    TileStyleSettings blue;
    blue.backgroundStyle = TileBackground::Blue;
    blue.opacity = 0.25;
    QCOMPARE(baseColor(blue, Appearance::Light), (Rgba{0.0, 122 / 255.0, 1.0, 0.25}));
    QCOMPARE(baseColor(blue, Appearance::Dark), (Rgba{10 / 255.0, 132 / 255.0, 1.0, 0.25}));
}

QTEST_GUILESS_MAIN(TileColorsTest)
#include "TileColorsTest.moc"
