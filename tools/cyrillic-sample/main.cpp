// Renders a sample comparing upright Cyrillic faces beside the interface's rounded Latin face,
// with the texts where the rounded face's own Cyrillic misleads. Each text is drawn in runs: its
// Cyrillic in the candidate, everything else in the Latin face, at the interface's sizes.
// Candidates that are not installed are listed as such.
//
// Usage: trellin-cyrillic-sample <output.png>
#include "widgets/Fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

struct Candidate {
    QString family;
    QString package;
    QString note;
    // The candidate's weights beside the Latin face's regular and beside its bold.
    QFont::Weight regular = QFont::Normal;
    QFont::Weight bold = QFont::DemiBold;
};

struct Sample {
    QString text;
    int pixels;
    bool bold;
};

const QList<Sample>& samples() {
    static const QList<Sample> list{
        {QStringLiteral("Ігри та їжа"), 14, true},
        {QStringLiteral("12 пт    Над Dock    Ігри"), 12, false},
        {QStringLiteral("Ґедзь і їжак з’їли єдиний грушевий пиріг."), 12, false},
        {QStringLiteral("Safari, Пошта, Calendar, Нотатки"), 11, false},
        {QStringLiteral("Показувати назви програм (Show app names)"), 12, true},
    };
    return list;
}

QFont faceOf(const QString& family, int pixels, QFont::Weight weight) {
    QFont font;
    font.setFamilies({family});
    font.setPixelSize(pixels);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Draws `sample` from `origin`, its Cyrillic letters in `cyrillic`, the rest in `latin`.
void drawSample(QPainter& painter, QPointF origin, const Sample& sample, const QFont& latin, const QFont& cyrillic) {
    const QString& text = sample.text;
    int start = 0;
    while (start < text.size()) {
        const bool inCyrillic = text.at(start).script() == QChar::Script_Cyrillic;
        int end = start + 1;
        while (end < text.size() && (text.at(end).script() == QChar::Script_Cyrillic) == inCyrillic)
            ++end;
        const QString run = text.mid(start, end - start);
        const QFont& font = inCyrillic ? cyrillic : latin;
        painter.setFont(font);
        painter.drawText(origin, run);
        origin.rx() += QFontMetricsF(font).horizontalAdvance(run);
        start = end;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: trellin-cyrillic-sample <output.png>");
        return 2;
    }
    const QString latin = Fonts::latinFamily();
    if (latin.isEmpty())
        return 1;

    const QList<Candidate> candidates{
        {QStringLiteral("Comfortaa"), QStringLiteral("fonts-comfortaa"),
         QStringLiteral("its own Cyrillic: \"пт\" reads as \"nm\", \"Над\" as \"Hag\""), QFont::Normal, QFont::Bold},
        {QStringLiteral("Manrope"), QStringLiteral("fonts-manrope"),
         QStringLiteral("regular, semibold. Chosen: geometric, as high and as wide as the Latin")},
        {QStringLiteral("Manrope"), QStringLiteral("fonts-manrope"),
         QStringLiteral("regular, bold: darker than the Latin's bold"), QFont::Normal, QFont::Bold},
        {QStringLiteral("Inter"), QStringLiteral("fonts-inter"),
         QStringLiteral("regular, semibold: comes out dark beside the Latin")},
        {QStringLiteral("Cantarell"), QStringLiteral("fonts-cantarell"),
         QStringLiteral("regular, bold: dark and narrow beside the Latin"), QFont::Normal, QFont::Bold},
        {QStringLiteral("Open Sans"), QStringLiteral("fonts-open-sans"),
         QStringLiteral("regular, semibold: even, but humanist beside the geometric Latin")},
        {QStringLiteral("M PLUS 1"), QStringLiteral("fonts-mplus"), QStringLiteral("regular, semibold")},
        {QStringLiteral("Jura"), QStringLiteral("fonts-jura"),
         QStringLiteral("regular, semibold: small and stylised beside the Latin")},
        {QStringLiteral("DejaVu Sans"), QStringLiteral("fonts-dejavu-core"),
         QStringLiteral("the system font, regular, bold: wide and dark"), QFont::Normal, QFont::Bold},
    };

    // A candidate that cannot be shown keeps only its label.
    const auto shown = [](const Candidate& candidate) {
        return QFontDatabase::writingSystems(candidate.family).contains(QFontDatabase::Cyrillic);
    };
    const int width = 620;
    const int rowHeight = 116;
    const int labelHeight = 22;
    const int scale = 3;
    int height = 34;
    for (const Candidate& candidate : candidates)
        height += shown(candidate) ? rowHeight : labelHeight;
    QImage image(QSize(width, height) * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(QColor(0xfb, 0xfb, 0xfd));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QFont labelFont(QStringLiteral("DejaVu Sans"));
    labelFont.setPixelSize(9);
    painter.setFont(labelFont);
    painter.setPen(QColor(0x55, 0x55, 0x5c));
    painter.drawText(QPointF(12, 20), QStringLiteral("Latin: %1, Comfortaa without Cyrillic (regular; bold as "
                                                     "semibold). Title 14 bold, text 12, names 11.")
                                          .arg(latin));

    int top = 30;
    for (const Candidate& candidate : candidates) {
        painter.setPen(QColor(0xdd, 0xdd, 0xe2));
        painter.drawLine(QPointF(12, top), QPointF(width - 12, top));
        const bool installed = QFontDatabase::hasFamily(candidate.family);
        const bool cyrillic = shown(candidate);
        painter.setFont(labelFont);
        painter.setPen(QColor(0x55, 0x55, 0x5c));
        painter.drawText(QPointF(12, top + 14), QStringLiteral("%1 (%2): %3")
                                                    .arg(candidate.family, candidate.package,
                                                         !installed  ? QStringLiteral("not installed")
                                                         : !cyrillic ? QStringLiteral("has no Cyrillic")
                                                                     : candidate.note));
        if (installed && cyrillic) {
            // The rounded face's own Cyrillic is shown with its own Latin.
            const QString latinFace = candidate.family == QStringLiteral("Comfortaa") ? candidate.family : latin;
            painter.setPen(QColor(0x1d, 0x1d, 0x1f));
            double baseline = top + 34;
            for (const Sample& sample : samples()) {
                drawSample(painter, QPointF(12, baseline), sample,
                           faceOf(latinFace, sample.pixels, sample.bold ? QFont::DemiBold : QFont::Normal),
                           faceOf(candidate.family, sample.pixels, sample.bold ? candidate.bold : candidate.regular));
                baseline += sample.pixels + 6;
            }
        }
        top += shown(candidate) ? rowHeight : labelHeight;
    }
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
