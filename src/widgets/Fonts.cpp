#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

// Rounded sans faces, most like the platform's own rounded design first.
const QStringList& roundedFamilies() {
    static const QStringList families{QStringLiteral("SF Pro Rounded"), QStringLiteral("Nunito"),
                                      QStringLiteral("Varela Round"), QStringLiteral("M PLUS Rounded 1c"),
                                      QStringLiteral("Comfortaa")};
    return families;
}

QStringList familyChain() {
    static const QStringList chain = [] {
        const QString system = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
        for (const QString& family : roundedFamilies()) {
            if (QFontDatabase::hasFamily(family))
                return QStringList{family, system};
        }
        return QStringList{system};
    }();
    return chain;
}

} // namespace

QFont Fonts::rounded(double points, QFont::Weight weight) {
    QFont font;
    font.setFamilies(familyChain());
    // Pixel sizes, not typographic points: the screen's dots per inch must not scale them.
    font.setPixelSize(qMax(1, qRound(points)));
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
