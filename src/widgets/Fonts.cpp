#include "Fonts.h"

#include <QFontDatabase>
#include <QResource>

namespace {

const QString& systemRoundedFamily() {
    static const QString family = QStringLiteral("SF Pro Rounded");
    return family;
}

// Whether rounded() draws in the build's Latin face, whose weights pairedWeight() knows.
bool usesLatinFace() {
    return !Fonts::latinFamily().isEmpty() && Fonts::families().first() == Fonts::latinFamily();
}

// Adds a face compiled into the executable from where it lies there, which every process mapping
// the executable shares. Added by its file name, the face would be copied onto the heap, and
// copied again for each face the text engine opens.
int addResourceFont(const QString& file) {
    const QResource resource(file);
    if (!resource.isValid())
        return -1;
    if (resource.compressionAlgorithm() != QResource::NoCompression)
        return QFontDatabase::addApplicationFontFromData(resource.uncompressedData());
    return QFontDatabase::addApplicationFontFromData(
        QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()), qsizetype(resource.size())));
}

} // namespace

QString Fonts::latinFamily() {
    static const QString family = [] {
        QString loaded;
        for (const QString& file : {QStringLiteral(":/fonts/TrellinRounded-Regular.ttf"),
                                    QStringLiteral(":/fonts/TrellinRounded-SemiBold.ttf")}) {
            const int id = addResourceFont(file);
            const QStringList names = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
            if (names.isEmpty()) {
                qWarning("Fonts: cannot load %s", qPrintable(file));
                return QString();
            }
            loaded = names.first();
        }
        return loaded;
    }();
    return family;
}

QString Fonts::cyrillicFamily() {
    return QStringLiteral("Manrope");
}

QStringList Fonts::families() {
    static const QStringList chain = [] {
        const QString system = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
        if (QFontDatabase::hasFamily(systemRoundedFamily()))
            return QStringList{systemRoundedFamily(), system};
        QStringList families;
        if (!latinFamily().isEmpty())
            families.append(latinFamily());
        // Without it Cyrillic would fall to the system font, still upright.
        if (QFontDatabase::hasFamily(cyrillicFamily()))
            families.append(cyrillicFamily());
        families.append(system);
        return families;
    }();
    return chain;
}

QFont::Weight Fonts::pairedWeight(QFont::Weight weight) {
    // The Latin face has a regular and a semibold (Comfortaa's bold); asking for exactly those
    // keeps the text engine from picking between them by a tie (medium) or thickening the
    // semibold further (bold). Cyrillic follows the Latin face's style.
    switch (weight) {
    case QFont::Medium:
        return QFont::Normal;
    case QFont::Bold:
        return QFont::DemiBold;
    default:
        return weight;
    }
}

QFont Fonts::rounded(double points, QFont::Weight weight) {
    QFont font;
    font.setFamilies(families());
    // Pixel sizes, not typographic points: the screen's dots per inch must not scale them.
    font.setPixelSize(qMax(1, qRound(points)));
    font.setWeight(usesLatinFace() ? pairedWeight(weight) : weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
