// The interface's type in Cyrillic: the rounded Latin face's own Cyrillic reads as italic Latin
// ("пт" as "nm"), so Cyrillic letters must come from the upright face beside it, in a weight
// that matches, while Latin letters and digits stay rounded.
#include "widgets/Fonts.h"

#include <QFile>
#include <QGlyphRun>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>

namespace {

// The weight class the face's file declares: the raw font's own weight is the one asked for.
int weightClass(const QRawFont& face) {
    const QByteArray os2 = face.fontTable("OS/2");
    return os2.size() < 6 ? 0 : (uchar(os2.at(4)) << 8) | uchar(os2.at(5));
}

// The face that draws each character of `text` in `font`, as "family weight".
QStringList facesOf(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (int i = 0; i < text.size(); ++i) {
        const QList<QGlyphRun> runs = layout.glyphRuns(i, 1);
        faces.append(runs.isEmpty() ? QString()
                                    : runs.first().rawFont().familyName() + u' ' +
                                          QString::number(weightClass(runs.first().rawFont())));
    }
    return faces;
}

} // namespace

class InterfaceFontsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cyrillicIsUprightAndLatinStaysRounded_data();
    void cyrillicIsUprightAndLatinStaysRounded();
    void builtLatinFaceHasNoCyrillic();
};

void InterfaceFontsTest::initTestCase() {
    QCOMPARE(Fonts::latinFamily(), QStringLiteral("Trellin Rounded"));
    QCOMPARE(Fonts::families().mid(0, 2), (QStringList{Fonts::latinFamily(), Fonts::cyrillicFamily()}));
}

void InterfaceFontsTest::cyrillicIsUprightAndLatinStaysRounded_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("weight");
    // The weight classes of the faces drawn: the Latin face's regular or semibold (Comfortaa's bold),
    // and the Cyrillic face's beside them.
    QTest::addColumn<int>("latinWeight");
    QTest::addColumn<int>("cyrillicWeight");
    QTest::newRow("size in a slider row") << QStringLiteral("12 пт") << int(QFont::Normal) << 400 << 400;
    QTest::newRow("mixed words") << QStringLiteral("Над Dock") << int(QFont::Medium) << 400 << 400;
    QTest::newRow("folder name") << QStringLiteral("Ігри та їжа 2") << int(QFont::Bold) << 600 << 600;
    QTest::newRow("Ukrainian letters") << QStringLiteral("Ґанок, їжак і єнот: Safari") << int(QFont::DemiBold) << 600
                                       << 600;
}

void InterfaceFontsTest::cyrillicIsUprightAndLatinStaysRounded() {
    QFETCH(QString, text);
    QFETCH(int, weight);
    QFETCH(int, latinWeight);
    QFETCH(int, cyrillicWeight);
    const QStringList faces = facesOf(text, Fonts::rounded(14, QFont::Weight(weight)));
    const QString latin = Fonts::latinFamily() + u' ' + QString::number(latinWeight);
    const QString cyrillic = Fonts::cyrillicFamily() + u' ' + QString::number(cyrillicWeight);
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.script() == QChar::Script_Cyrillic)
            QVERIFY2(faces.at(i) == cyrillic, qPrintable(QStringLiteral("%1 in %2").arg(c).arg(faces.at(i))));
        else if (c.isLetterOrNumber())
            QVERIFY2(faces.at(i) == latin, qPrintable(QStringLiteral("%1 in %2").arg(c).arg(faces.at(i))));
    }
}

void InterfaceFontsTest::builtLatinFaceHasNoCyrillic() {
    for (const QString& style : {QStringLiteral("Regular"), QStringLiteral("SemiBold")}) {
        QFile file(QStringLiteral(":/fonts/TrellinRounded-%1.ttf").arg(style));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QRawFont face(file.readAll(), 14);
        QVERIFY(face.isValid());
        // The original's name is reserved to it; a changed copy must not carry it.
        QCOMPARE(face.familyName(), QStringLiteral("Trellin Rounded"));
        QCOMPARE(face.styleName(), style);
        for (const QChar c : QStringLiteral("AZaz09.,!?&@%—€"))
            QVERIFY2(face.supportsCharacter(c), qPrintable(QStringLiteral("%1 missing").arg(c)));
        for (char32_t c = 0x0400; c <= 0x052F; ++c)
            QVERIFY2(!face.supportsCharacter(uint(c)), qPrintable(QString::number(uint(c), 16)));
    }
}

QTEST_MAIN(InterfaceFontsTest)
#include "InterfaceFontsTest.moc"
