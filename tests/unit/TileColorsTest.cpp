// A tile style's base colour and the custom colour text users and files hold.
#include "model/TileColors.h"

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
    QTest::addColumn<bool>("parses");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::newRow("number sign") << "#1E90FF" << true << 30 << 144 << 255;
    QTest::newRow("spaces, lower case") << "  1e90ff \n" << true << 30 << 144 << 255;
    QTest::newRow("plus sign") << "+0000FF" << true << 0 << 0 << 255;
    QTest::newRow("black") << "000000" << true << 0 << 0 << 0;
    QTest::newRow("five digits") << "#1E90F" << false << 0 << 0 << 0;
    QTest::newRow("eight digits") << "#1E90FFAA" << false << 0 << 0 << 0;
    QTest::newRow("six G") << "GGGGGG" << false << 0 << 0 << 0;
    QTest::newRow("inner space") << "1E 0FF" << false << 0 << 0 << 0;
    QTest::newRow("empty") << "" << false << 0 << 0 << 0;
    QTest::newRow("non-ASCII digits") << "١٢٣٤٥٦" << false << 0 << 0 << 0;
}

void TileColorsTest::colorFromHex() {
    QFETCH(QString, text);
    QFETCH(bool, parses);
    const std::optional<Rgba> color = ::colorFromHex(text);
    QCOMPARE(color.has_value(), parses);
    if (!parses)
        return;
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QCOMPARE(*color, (Rgba{red / 255.0, green / 255.0, blue / 255.0, 1.0}));
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
