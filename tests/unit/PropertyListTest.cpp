#include "platform/PropertyList.h"

#include "NestedDocuments.h"

#include <QDateTime>
#include <QDir>
#include <QPoint>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

using PropertyList::Format;

namespace {

QDateTime utc(int year, int month, int day, int hour, int minute, int second, int ms = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms), Qt::UTC);
}

// QVariant's == converts between types; this spells out types too, so data read back as a
// string or an unsigned integer read back as a negative one shows as a difference.
QString describe(const QVariant& value) {
    QString text = QString::fromLatin1(value.metaType().name()) + u'(';
    if (value.typeId() == QMetaType::QVariantMap) {
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            text += it.key() + u'=' + describe(it.value()) + u' ';
    } else if (value.typeId() == QMetaType::QVariantList) {
        for (const QVariant& item : value.toList())
            text += describe(item) + u' ';
    } else if (value.typeId() == QMetaType::QDateTime) {
        text += value.toDateTime().toString(Qt::ISODateWithMs);
    } else {
        text += value.typeId() == QMetaType::QByteArray ? value.toByteArray().toHex() : value.toString();
    }
    return text + u')';
}

QVariantMap everyKindOfValue() {
    return {
        {"yes", true},
        {"no", false},
        {"negative", qint64(-7)},
        {"largest", std::numeric_limits<qint64>::max()},
        {"smallest", std::numeric_limits<qint64>::min()},
        {"beyond qint64", std::numeric_limits<quint64>::max()},
        {"real", 0.1},
        {"huge real", 1.7976931348623157e308},
        {"text", QStringLiteral("Grüße — 日本語 🍎 <&> ]]>")},
        {"data", QByteArray("\x00\x01\xff binary", 10)},
        {"empty data", QByteArray()},
        {"date", utc(2024, 2, 29, 13, 45, 7)},
        {"date before 2001", utc(1970, 1, 1, 0, 0, 1)},
        {"date after 2069", utc(2100, 1, 1, 0, 0, 0)},
        {"date before 1932", utc(1900, 6, 1, 12, 0, 0)},
        {"far date", utc(9999, 12, 31, 23, 59, 59)},
        {"nested", QVariantMap{{"list", QVariantList{qint64(1), QString(), QVariantList{}, QVariantMap{}}}}},
        {"ключ 🔑", QStringLiteral("unicode key")},
    };
}

} // namespace

class PropertyListTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTripKeepsEveryValueType() {
        for (const Format format : {Format::Xml, Format::Binary}) {
            QString error;
            const std::optional<QByteArray> bytes = PropertyList::serialize(everyKindOfValue(), format, &error);
            QVERIFY2(bytes, qPrintable(error));
            const std::optional<PropertyList::Document> document = PropertyList::parse(*bytes, &error);
            QVERIFY2(document, qPrintable(error));
            QCOMPARE(document->format, format);
            QCOMPARE(describe(document->root), describe(everyKindOfValue()));
        }

        // Binary dates keep fractions of a second, also before the reference date, where the
        // library splits seconds and microseconds the other way.
        const QVariantList dates{utc(2031, 5, 6, 7, 8, 9, 250), utc(1999, 12, 31, 23, 59, 58, 750),
                                 utc(1950, 6, 1, 12, 0, 0, 1), utc(2300, 1, 1, 0, 0, 0, 500),
                                 utc(1800, 2, 3, 4, 5, 6, 125)};
        const std::optional<PropertyList::Document> document =
            PropertyList::parse(*PropertyList::serialize(dates, Format::Binary));
        QVERIFY(document);
        QCOMPARE(describe(document->root), describe(dates));
    }

    void readsDocumentsOfOtherWriters() {
        const QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                               "<key>n</key> <integer>18446744073709551615</integer><key>m</key>\t<integer>-1</integer>"
                               "<key>d</key><date>2001-01-01T00:01:00Z</date><key>b</key><data>AAEC</data>"
                               "<key>far</key><date>2100-01-01T00:00:00Z</date>"
                               "<key>t</key><true/></dict></plist>";
        const std::optional<PropertyList::Document> document = PropertyList::parse(xml);
        QVERIFY(document);
        QCOMPARE(document->format, Format::Xml);
        const QVariantMap expected{{"n", std::numeric_limits<quint64>::max()},
                                   {"m", qint64(-1)},
                                   {"d", utc(2001, 1, 1, 0, 1, 0)},
                                   {"far", utc(2100, 1, 1, 0, 0, 0)},
                                   {"b", QByteArray("\x00\x01\x02", 3)},
                                   {"t", true}};
        QCOMPARE(describe(document->root), describe(expected));
    }

    void rejectsWhatIsNotAPropertyList() {
        const QByteArray xml = *PropertyList::serialize(QVariantMap{{"a", 1}, {"b", "x"}}, Format::Xml);
        const QByteArray binary = *PropertyList::serialize(QVariantMap{{"a", 1}}, Format::Binary);
        const QByteArray inputs[] = {QByteArray(),
                                     "hello, world\n",
                                     "{\"a\": 1}",
                                     QByteArray("\x89PNG\r\n\x1a\n\0\0", 10),
                                     xml.left(xml.size() / 2),
                                     binary.chopped(10),
                                     "bplist00"};
        for (const QByteArray& bytes : inputs) {
            QString error;
            QVERIFY2(!PropertyList::parse(bytes, &error), bytes.constData());
            QVERIFY2(error.contains(QLatin1String("not a property list")), qPrintable(error));
        }

        QTemporaryDir dir;
        QString error;
        QVERIFY(!PropertyList::readFile(dir.filePath("missing.plist"), &error));
        QVERIFY2(error.contains(dir.filePath("missing.plist")), qPrintable(error));
    }

    // A document nested many thousands deep, or one whose shared objects read out to billions of
    // values, is refused as unreadable instead of ending the process or filling its memory.
    void refusesDocumentsTooDeepOrTooLargeToRead() {
        QString error;
        // Comments and character data that look like elements do not count.
        const QByteArray looksDeep = "<!-- <array> --><string><![CDATA[<dict>]]></string><true/>";
        QVERIFY2(PropertyList::parse(nestedXml(200, looksDeep), &error), qPrintable(error));
        QVERIFY2(PropertyList::parse(nestedBinary(200), &error), qPrintable(error));
        const std::pair<QByteArray, QString> refused[] = {
            {nestedXml(50'000), "nested deeper than 256 levels"},
            {nestedXml(300, looksDeep), "nested deeper than 256 levels"},
            {nestedBinary(50'000), "nested deeper than 256 levels"},
            {nestedBinary(300), "nested deeper than 256 levels"},
            {nestedBinary(3, true), "a container holds itself"},
            {nestedBinary(64, false, 2), "more than 4000000 values"},
        };
        for (const auto& [bytes, reason] : refused) {
            QVERIFY(!PropertyList::parse(bytes, &error));
            QCOMPARE(error, "not a property list (" + reason + ")");
        }
        // Shared objects are fine while the whole stays small.
        QVERIFY2(PropertyList::parse(nestedBinary(16, false, 2), &error), qPrintable(error));
    }

    void serializeRefusesValuesWithoutPlistForm() {
        const std::pair<QVariant, QString> cases[] = {
            {QVariantMap{{"p", QPoint(1, 2)}}, "QPoint"},
            {QVariantList{1, QVariant()}, "empty value"},
            {QString(QStringLiteral("a") + QChar(0) + u'b'), "NUL"},
            {QVariantMap{{QString(QChar(0)), 1}}, "NUL"},
        };
        for (const auto& [value, reason] : cases) {
            QString error;
            QVERIFY(!PropertyList::serialize(value, Format::Binary));
            QVERIFY(!PropertyList::serialize(value, Format::Xml, &error));
            QVERIFY2(error.contains(reason), qPrintable(error));
        }
    }

    void atomicWriteReplacesTheFileAndLeavesNothingBehind() {
        QTemporaryDir dir;
        const QString path = dir.filePath("prefs.plist");
        const auto entries = [&dir] {
            return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        };
        QString error;
        QVERIFY(PropertyList::writeFileAtomically(path, QVariantMap{{"first", 1}}, Format::Binary, &error));
        const QVariantMap second{{"second", QStringLiteral("two")}};
        QVERIFY2(PropertyList::writeFileAtomically(path, second, Format::Xml, &error), qPrintable(error));
        QCOMPARE(entries(), QStringList{"prefs.plist"});
        QCOMPARE(PropertyList::readFile(path)->format, Format::Xml);
        QCOMPARE(PropertyList::readFile(path)->root.toMap(), second);

        // A value that cannot be written leaves the old file as it was.
        QVERIFY(!PropertyList::writeFileAtomically(path, QVariantMap{{"p", QPoint()}}, Format::Xml));
        QCOMPARE(PropertyList::readFile(path)->root.toMap(), second);
        QVERIFY(!PropertyList::writeFileAtomically(dir.filePath("no/folder/x.plist"), second, Format::Xml, &error));
        QVERIFY2(error.contains(QLatin1String("no/folder")), qPrintable(error));
        QCOMPARE(entries(), QStringList{"prefs.plist"});
    }
};

QTEST_GUILESS_MAIN(PropertyListTest)
#include "PropertyListTest.moc"
