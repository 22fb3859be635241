// Renders a specimen comparing upright Cyrillic faces beside the interface's rounded Latin face,
// with the texts where the rounded face's own Cyrillic misleads. Candidates that are not
// installed are listed as such.
//
// Usage: trellin-cyrillic-specimen <output.png>
#include "widgets/Fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

struct Candidate {
    QString family;
    QString package;
    QString note;
    bool paired = true;
};

struct Sample {
    QString text;
    int pixels;
    QFont::Weight weight;
};

const QList<Sample>& samples() {
    static const QList<Sample> list{
        {QStringLiteral("Ігри та їжа"), 14, QFont::Bold},
        {QStringLiteral("12 пт    Над Dock    Ігри"), 12, QFont::Normal},
        {QStringLiteral("Ґедзь і їжак з’їли єдиний грушевий пиріг."), 12, QFont::Normal},
        {QStringLiteral("Safari, Пошта, Calendar, Нотатки, Terminal"), 11, QFont::Medium},
        {QStringLiteral("Показувати назви програм    Show app names"), 12, QFont::DemiBold},
    };
    return list;
}

QFont faceFor(const QStringList& families, const Sample& sample, bool paired) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(sample.pixels);
    font.setWeight(paired ? Fonts::pairedWeight(sample.weight) : sample.weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: trellin-cyrillic-specimen <output.png>");
        return 2;
    }
    const QString latin = Fonts::latinFamily();
    if (latin.isEmpty())
        return 1;

    const QList<Candidate> candidates{
        {QStringLiteral("Comfortaa"), QStringLiteral("fonts-comfortaa"),
         QStringLiteral("the rounded face's own Cyrillic: \"пт\" reads as \"nm\"")},
        {QStringLiteral("Manrope"), QStringLiteral("fonts-manrope"),
         QStringLiteral(
             "chosen: rounded terminals, wide like the Latin; regular beside regular, semibold beside bold")},
        {QStringLiteral("Manrope"), QStringLiteral("fonts-manrope"),
         QStringLiteral("the same at equal nominal weights: heavier than the Latin"), false},
        {QStringLiteral("Inter"), QStringLiteral("fonts-inter"), QStringLiteral("narrow and tall beside the Latin")},
        {QStringLiteral("Cantarell"), QStringLiteral("fonts-cantarell"), QString()},
        {QStringLiteral("Open Sans"), QStringLiteral("fonts-open-sans"), QString()},
        {QStringLiteral("M PLUS 1"), QStringLiteral("fonts-mplus"), QString()},
        {QStringLiteral("Jura"), QStringLiteral("fonts-jura"), QString()},
        {QStringLiteral("DejaVu Sans"), QStringLiteral("fonts-dejavu-core"),
         QStringLiteral("the system font, where no Cyrillic face is chosen")},
    };

    const int width = 1180;
    const int rowHeight = 150;
    const int scale = 2;
    QImage image(QSize(width, 40 + rowHeight * int(candidates.size())) * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(QColor(0xfb, 0xfb, 0xfd));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QFont labelFont(QStringLiteral("DejaVu Sans"));
    labelFont.setPixelSize(11);
    painter.setFont(labelFont);
    painter.setPen(QColor(0x55, 0x55, 0x5c));
    painter.drawText(QPointF(16, 24), QStringLiteral("Latin: %1 (Comfortaa without Cyrillic). Sizes as in the "
                                                     "interface: title 14 bold, names 11 medium, text 12.")
                                          .arg(latin));

    int top = 40;
    for (const Candidate& candidate : candidates) {
        painter.setPen(QColor(0xdd, 0xdd, 0xe2));
        painter.drawLine(QPointF(16, top), QPointF(width - 16, top));
        const bool installed = QFontDatabase::hasFamily(candidate.family);
        painter.setFont(labelFont);
        painter.setPen(QColor(0x55, 0x55, 0x5c));
        QString label = candidate.family + QStringLiteral("  (") + candidate.package + u')';
        if (!installed)
            label += QStringLiteral("  not installed");
        else if (!candidate.note.isEmpty())
            label += QStringLiteral(" — ") + candidate.note;
        painter.drawText(QPointF(16, top + 18), label);
        if (installed) {
            // The rounded face's own Cyrillic is shown alone; every other candidate beside the Latin.
            const QStringList families = candidate.family == QStringLiteral("Comfortaa")
                                             ? QStringList{candidate.family}
                                             : QStringList{latin, candidate.family};
            painter.setPen(QColor(0x1d, 0x1d, 0x1f));
            double baseline = top + 42;
            for (const Sample& sample : samples()) {
                painter.setFont(faceFor(families, sample, candidate.paired));
                painter.drawText(QPointF(16, baseline), sample.text);
                baseline += sample.pixels + 9;
            }
        }
        top += rowHeight;
    }
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
