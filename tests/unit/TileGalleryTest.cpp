// A gallery of tiles over the styles a user can choose, written next to the test as
// tile-gallery.png for a person to look at; and the checks that tell the styles apart.
#include "tile/TilePainter.h"

#include <QCoreApplication>
#include <QPainter>
#include <QSet>
#include <QTest>

namespace {

constexpr int kTile = 128;

AppFolder sampleFolder(int apps, const QString& glyph) {
    AppFolder folder(QUuid::createUuid(), QStringLiteral("Sample"), glyph, 0);
    for (int i = 0; i < apps; ++i)
        folder.apps.append(
            {QUuid::createUuid(), QString::number(i), QStringLiteral("b"),
             AppItem::fileURLForPath(
                 i % 2 ? QStringLiteral(TRELLIN_BUNDLE_DIR) : QStringLiteral("/nonexistent/App.app"), true)});
    return folder;
}

} // namespace

class TileGalleryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void galleryOfStyles();
};

void TileGalleryTest::galleryOfStyles() {
    // Rows: every background a user can pick. Columns: each mode in the light theme, then in the dark
    // theme; then five content variations.
    const int rows = int(kTileBackgroundCases.size());
    const int columns = 2 * int(kTileBackgroundModeCases.size()) + 5;
    QImage gallery(columns * kTile, rows * kTile, QImage::Format_ARGB32_Premultiplied);
    gallery.fill(QColor(128, 128, 128));
    QPainter painter(&gallery);
    TileDrawingContext context = TileDrawingContext::platformResources();
    QSet<QRgb> solidCentres;

    for (int row = 0; row < rows; ++row) {
        TileStyleSettings style;
        style.backgroundStyle = kTileBackgroundCases[row].first;
        style.customHex = QStringLiteral("1E90FF");
        int column = 0;
        for (const bool light : {true, false}) {
            context.lightTheme = light;
            for (const auto& [mode, name] : kTileBackgroundModeCases) {
                style.backgroundMode = mode;
                const QImage tile = TilePainter::render(style, context, sampleFolder(4, "folder"), kTile);
                if (mode == TileBackgroundMode::Solid && light)
                    solidCentres.insert(tile.pixel(kTile / 2, kTile / 2));
                painter.drawImage(column++ * kTile, row * kTile, tile);
            }
        }
        context.lightTheme = false;
        style.backgroundMode = TileBackgroundMode::Gradient;
        const QList<std::pair<int, QString>> contents{{1, ""}, {3, ""}, {0, "star"}, {0, "🚀"}, {0, "gamecontroller"}};
        for (const auto& [apps, glyph] : contents) {
            TileStyleSettings variation = style;
            variation.displayFolderIcon = !glyph.isEmpty();
            variation.borderEnabled = column % 2 == 0;
            variation.borderWidth = 3;
            painter.drawImage(column++ * kTile, row * kTile,
                              TilePainter::render(variation, context, sampleFolder(apps, glyph), kTile));
        }
    }
    painter.end();
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/tile-gallery.png");
    QVERIFY(gallery.save(path));
    qInfo("gallery: %s", qPrintable(path));

    // Every background looks different on its own (solid, light theme).
    QCOMPARE(solidCentres.size(), rows);
}

QTEST_MAIN(TileGalleryTest)
#include "TileGalleryTest.moc"
