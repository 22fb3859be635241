#include "platform/Symbols.h"
#include "platform/SymbolOutlineFile.h"

#include "TestFiles.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

// The glyphs a user can choose for a folder, in the picker's order.
const QStringList kPickerNames =
    QStringLiteral("folder briefcase hammer wrench.and.screwdriver music.note music.mic books.vertical paintpalette "
                   "leaf bolt globe house gamecontroller message camera target key film flask laptopcomputer "
                   "desktopcomputer keyboard printer scanner wifi antenna.radiowaves.left.and.right headphones "
                   "speaker.wave.2 mic video tv display cpu memorychip battery.100 lock shield bell clock calendar "
                   "map location car tram airplane bicycle figure.walk figure.run heart cross.case pills "
                   "stethoscope pawprint sun.max moon cloud cloud.rain snowflake flame drop gift tag cart doc "
                   "doc.text doc.richtext doc.plaintext doc.on.doc archivebox tray shippingbox suitcase.rolling "
                   "backpack menucard ticket creditcard banknote chart.bar chart.pie waveform waveform.path.ecg "
                   "lightbulb atom star flag bookmark paperclip link person person.2 person.3 checkmark.seal "
                   "rosette bubble.left bubble.right phone envelope lock.doc photo")
        .split(u' ');

// The glyphs of the program's own controls and badges.
const QStringList kInterfaceNames =
    QStringLiteral("folder.fill folder.badge.plus square.grid.3x1.folder.badge.plus pin pin.fill xmark xmark.circle "
                   "nosign checkmark checkmark.circle checkmark.circle.fill gearshape gearshape.fill "
                   "square.grid.2x2 square.grid.2x2.fill macwindow dock.rectangle info.circle.fill magnifyingglass "
                   "moon.fill sun.max.fill heart.fill minus chevron.right square.and.pencil app.dashed app.fill "
                   "power")
        .split(u' ');

struct Ink {
    qint64 alphaSum = 0;
    int opaque = 0;
    QRect bounds;
};

Ink inkOf(const QImage& image) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            ink.alphaSum += alpha;
            if (alpha > 0)
                ink.bounds |= QRect(x, y, 1, 1);
            if (alpha == 255)
                ++ink.opaque;
        }
    return ink;
}

int glyphCount(const QString& text) {
    const std::optional<QFont> font = Symbols::font(48);
    if (!font)
        return -1;
    QTextLayout layout(text, *font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int count = 0;
    for (const QGlyphRun& run : layout.glyphRuns())
        count += int(run.glyphIndexes().size());
    return count;
}

} // namespace

class SymbolsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (!QFile::exists(Symbols::fontPath()))
            QSKIP("the Material Icons font is not installed");
    }

    void knowsEveryNameTheProgramUses() {
        QCOMPARE(kPickerNames.size(), 99);
        QCOMPARE(QSet<QString>(kPickerNames.begin(), kPickerNames.end()).size(), 99);
        for (const QString& name : kPickerNames + kInterfaceNames)
            QVERIFY2(Symbols::isKnown(name), qPrintable(name));
        QCOMPARE(Symbols::materialName("xmark"), QString("close"));
        QCOMPARE(Symbols::materialName("nosign"), QString("block"));
    }

    // A ligature the font lacks would be set as its letters; every entry must be one glyph with ink,
    // and the ink must differ from the neighbouring entries' unless both map to the same ligature.
    void everyEntryDrawsOneRealGlyph() {
        QVERIFY(glyphCount("no_such_ligature_here") > 1);
        const auto table = Symbols::table();
        QSet<QString> ligatures;
        const int columns = 10;
        const int cell = 96;
        QImage sheet(columns * cell, int((table.size() + columns - 1) / columns) * cell, QImage::Format_ARGB32);
        sheet.fill(QColor(60, 64, 72));
        QPainter painter(&sheet);
        QFont label = painter.font();
        label.setPixelSize(9);
        painter.setFont(label);
        painter.setPen(Qt::white);
        for (std::size_t i = 0; i < table.size(); ++i) {
            const QString name = QString::fromLatin1(table[i].name.data(), qsizetype(table[i].name.size()));
            const QString ligature = QString::fromLatin1(table[i].ligature.data(), qsizetype(table[i].ligature.size()));
            QVERIFY2(glyphCount(ligature) == 1, qPrintable(name + " → " + ligature));
            const std::optional<QImage> image = Symbols::image(name, 48, true);
            QVERIFY2(image && inkOf(*image).opaque > 20, qPrintable(name));
            ligatures.insert(ligature);

            const QPoint origin(int(i % columns) * cell, int(i / columns) * cell);
            painter.drawImage(origin + QPoint((cell - 48) / 2, 8), *image);
            painter.drawText(QRect(origin + QPoint(2, 60), QSize(cell - 4, 34)), Qt::AlignHCenter | Qt::TextWordWrap,
                             name);
        }
        painter.end();
        QVERIFY(sheet.save(QCoreApplication::applicationDirPath() + "/symbols.png"));
        // Shared glyphs are the exception (outline and filled forms the font has only once).
        QVERIFY(ligatures.size() >= int(table.size()) - 8);
    }

    void unknownNamesAndBadSizesGiveNone() {
        for (const QString& name : QStringList{"", "Folder", "folder.fil", "folder_open", "🙂", "xmark "})
            QVERIFY2(!Symbols::image(name, 24, false), qPrintable(name));
        for (const double size : {0.0, -3.0, std::nan(""), std::numeric_limits<double>::infinity(), 5000.0})
            QVERIFY(!Symbols::image("folder", size, false));
    }

    void imageIsASquareOfTheRoundedUpSizeWithTheGlyphCentred() {
        for (const double size : {7.2, 13.0, 244.2}) {
            const std::optional<QImage> image = Symbols::image("plus", size, false);
            QVERIFY(image);
            QCOMPARE(image->size(), QSize(int(std::ceil(size)), int(std::ceil(size))));
            QCOMPARE(image->format(), QImage::Format_ARGB32_Premultiplied);
        }
        const Ink ink = inkOf(*Symbols::image("plus", 200, false));
        QVERIFY(std::abs(ink.bounds.center().x() - 100) <= 2 && std::abs(ink.bounds.center().y() - 100) <= 2);
        // The glyph fills most of its square, as a symbol at that size does.
        QVERIFY(ink.bounds.width() > 100 && ink.bounds.width() < 200);
    }

    void theTintIsTheOnlyColour() {
        const QColor tint(230, 40, 120);
        const QImage image = Symbols::image("gamecontroller", 64, true, tint)->convertToFormat(QImage::Format_ARGB32);
        int partial = 0;
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                const int alpha = qAlpha(pixel);
                partial += alpha > 0 && alpha < 255;
                opaque += alpha == 255;
                // Low alphas lose precision when unpremultiplied; compare where it is meaningful.
                if (alpha >= 64) {
                    const int tolerance = alpha == 255 ? 0 : 6;
                    QVERIFY2(std::abs(qRed(pixel) - tint.red()) <= tolerance &&
                                 std::abs(qGreen(pixel) - tint.green()) <= tolerance &&
                                 std::abs(qBlue(pixel) - tint.blue()) <= tolerance,
                             qPrintable(QString("pixel %1,%2 is %3").arg(x).arg(y).arg(pixel, 8, 16)));
                }
            }
        QVERIFY(opaque > 100 && partial > 10);

        // A translucent tint keeps its alpha: nothing is more opaque than the colour itself.
        const QImage faint = Symbols::image("gamecontroller", 64, true, QColor(255, 255, 255, 100))
                                 ->convertToFormat(QImage::Format_ARGB32);
        int maxAlpha = 0;
        for (int y = 0; y < faint.height(); ++y)
            for (int x = 0; x < faint.width(); ++x)
                maxAlpha = std::max(maxAlpha, qAlpha(faint.pixel(x, y)));
        QVERIFY(maxAlpha >= 98 && maxAlpha <= 101);
    }

    void boldIsHeavierThanRegular() {
        for (const QString& name : QStringList{"xmark", "checkmark.circle", "folder", "star"}) {
            const Ink regular = inkOf(*Symbols::image(name, 96, false));
            const Ink bold = inkOf(*Symbols::image(name, 96, true));
            QVERIFY2(bold.alphaSum > regular.alphaSum * 1.05, qPrintable(name));
        }
    }

    // The bundle keeps every symbol's outline as the font draws it, so a symbol drawn from the
    // bundle is the symbol drawn from the font.
    void theBundleKeepsTheFontsOutlines() {
        const QString keptPath = QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/Resources/Symbols.outlines");
        SymbolOutlineFile kept(keptPath);
        QString last;
        for (const Symbols::Entry& entry : Symbols::table()) {
            last = QString::fromLatin1(entry.name.data(), qsizetype(entry.name.size()));
            const std::optional<QPainterPath> outline = kept.outline(last);
            QVERIFY2(outline && *outline == *Symbols::fontOutline(last), qPrintable(last));
        }
        QVERIFY(!kept.outline("no.such.symbol"));

        // A damaged file gives what lies before the damage and nothing after it.
        QTemporaryDir dir;
        const QByteArray bytes = readFile(keptPath);
        QVERIFY(writeFile(dir.filePath("half"), bytes.left(bytes.size() / 2)));
        SymbolOutlineFile half(dir.filePath("half"));
        QVERIFY(half.outline("folder"));
        QVERIFY(!half.outline(last));
        QVERIFY(writeFile(dir.filePath("garbage"), QByteArray(4096, '\x7f')));
        QVERIFY(!SymbolOutlineFile(dir.filePath("garbage")).outline("folder"));

        const QImage fromFont = *Symbols::image("checkmark.circle", 96, true, Qt::red);
        // A missing file leaves the font to draw; the kept outlines draw the same picture.
        Symbols::useOutlineFile(dir.filePath("missing"));
        QCOMPARE(*Symbols::image("checkmark.circle", 96, true, Qt::red), fromFont);
        Symbols::useOutlineFile(keptPath);
        QCOMPARE(*Symbols::image("checkmark.circle", 96, true, Qt::red), fromFont);
    }
};

QTEST_MAIN(SymbolsTest)
#include "SymbolsTest.moc"
