// The string-table sources against the key table and the code: a key without a text, a plural form
// left out, a translation that takes other arguments than English, or a literal key in the code that
// the tables do not know fails here rather than in front of a user.
#include "settings/LocalizationKeys.h"
#include "settings/PrintfFormat.h"

#include "TestFiles.h"

#include <QDirIterator>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

struct Table {
    QString code;
    QString languageAttribute;
    QHash<QString, QString> texts;
    // XML errors, messages without id, duplicate ids, and texts marked unfinished, vanished or
    // obsolete: the compiled table leaves those out, so the key would show instead.
    QStringList problems;
};

Table readTable(const QString& code) {
    Table table;
    table.code = code;
    QXmlStreamReader xml(readFile(TRELLIN_SOURCE_DIR "/resources/translations/" + code + ".ts"));
    QString id;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"TS") {
            table.languageAttribute = xml.attributes().value(QLatin1String("language")).toString();
        } else if (xml.isStartElement() && xml.name() == u"message") {
            id = xml.attributes().value(QLatin1String("id")).toString();
            if (id.isEmpty())
                table.problems << QStringLiteral("message without id at line %1").arg(xml.lineNumber());
            else if (table.texts.contains(id))
                table.problems << QStringLiteral("duplicate id ") + id;
            table.texts.insert(id, QString());
        } else if (xml.isStartElement() && xml.name() == u"translation") {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            if (!type.isEmpty())
                table.problems << id + QStringLiteral(" is ") + type;
            table.texts.insert(id, xml.readElementText());
        }
    }
    if (xml.hasError())
        table.problems << QStringLiteral("XML error at line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    table.texts.remove(QString());
    return table;
}

QString keyOf(const L10nKey::Entry& entry) {
    return QString::fromUtf8(entry.key.data(), entry.key.size());
}

// Every id a table for the language must hold, with the arguments its text must take.
QHash<QString, QString> expectedIds(const QString& code) {
    // Only Ukrainian has a form for a few.
    const QStringList suffixes = code == u"uk" ? QStringList{".one", ".few", ".many"} : QStringList{".one", ".many"};
    QHash<QString, QString> ids;
    for (const L10nKey::Entry& entry : L10nKey::kAll) {
        const QString arguments = QString::fromLatin1(entry.arguments.data(), entry.arguments.size());
        if (entry.ownEntry)
            ids.insert(keyOf(entry), arguments);
        for (const QString& suffix : entry.pluralBase ? suffixes : QStringList())
            ids.insert(keyOf(entry) + suffix, QStringLiteral("d"));
    }
    return ids;
}

bool isDottedKey(const QString& key) {
    static const QRegularExpression dotted(QStringLiteral("^[a-z_]+(\\.[a-z_]+)+$"));
    return dotted.match(key).hasMatch();
}

struct LiteralCall {
    QString function;
    QString literal;
    int line = 0;
};

// String literals handed directly to the lookup calls, as text("…"), format(QStringLiteral("…"), …)
// or pluralText(u"…", …).
QList<LiteralCall> literalLookups(const QString& code) {
    static const QRegularExpression call(QStringLiteral(
        "\\b(text|format|pluralText|pluralKey)\\s*\\(\\s*"                                       // the call
        "(?:(?:QStringLiteral|QString::fromUtf8|QString::fromLatin1|QLatin1String)\\s*\\(\\s*)?" // a wrapper
        "u?\"((?:[^\"\\\\\\n]|\\\\.)*)\""));                                                     // the literal
    QList<LiteralCall> calls;
    for (const QRegularExpressionMatch& match : call.globalMatch(code))
        calls.append({match.captured(1), match.captured(2),
                      static_cast<int>(QStringView(code).left(match.capturedStart()).count(u'\n')) + 1});
    return calls;
}

} // namespace

class TranslationCoverageTest : public QObject {
    Q_OBJECT

    const QList<Table> m_tables{readTable(QStringLiteral("en")), readTable(QStringLiteral("uk"))};

private Q_SLOTS:
    void keyTableIsConsistent() {
        QSet<QString> keys;
        for (const L10nKey::Entry& entry : L10nKey::kAll) {
            const QString key = keyOf(entry);
            QVERIFY2(!keys.contains(key), qPrintable("listed twice: " + key));
            keys.insert(key);
            // Plural bases are dotted keys; a key of any other shape is a self-keyed English text.
            QVERIFY2(!entry.pluralBase || isDottedKey(key), qPrintable(key));
        }

        // Every constant declared for the screens is in the table the tests and tools go by.
        static const QRegularExpression constant(QStringLiteral("inline constexpr char (\\w+)\\[\\] = \"([^\"]*)\";"));
        QRegularExpressionMatchIterator matches =
            constant.globalMatch(QString::fromUtf8(readFile(TRELLIN_SOURCE_DIR "/src/settings/LocalizationKeys.h")));
        int declared = 0;
        for (; matches.hasNext(); ++declared) {
            const QRegularExpressionMatch match = matches.next();
            QVERIFY2(keys.contains(match.captured(2)), qPrintable(match.captured(1) + " is not in L10nKey::kAll"));
        }
        QCOMPARE(declared, static_cast<int>(keys.size()));
    }

    // Each table holds a finished text for every key and plural form of its language, taking the
    // arguments the code passes, and nothing else.
    void everyTableHoldsEveryKey() {
        for (const Table& table : m_tables) {
            QVERIFY2(table.problems.isEmpty(), qPrintable(table.code + ": " + table.problems.join("; ")));
            QVERIFY2(table.languageAttribute.startsWith(table.code), qPrintable(table.languageAttribute));
            const QHash<QString, QString> expected = expectedIds(table.code);
            for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
                QVERIFY2(table.texts.contains(it.key()), qPrintable(table.code + " lacks " + it.key()));
                const QString signature = PrintfFormat::signature(table.texts.value(it.key()));
                QVERIFY2(signature == it.value(), qPrintable(QStringLiteral("%1 %2 takes “%3”, the code passes “%4”")
                                                                 .arg(table.code, it.key(), signature, it.value())));
            }
            for (auto it = table.texts.cbegin(); it != table.texts.cend(); ++it) {
                const QString where = table.code + ": " + it.key();
                // Anything else is a misspelt key or a plural form the language does not have.
                QVERIFY2(expected.contains(it.key()), qPrintable(where + " is an unknown id"));
                QVERIFY2(!it->trimmed().isEmpty(), qPrintable(where + " has no text"));
            }
        }

        // Self-keyed texts read the same in English as their key, so a lookup that finds no table still
        // shows the right English.
        for (const L10nKey::Entry& entry : L10nKey::kAll) {
            const QString key = keyOf(entry);
            if (isDottedKey(key))
                continue;
            QCOMPARE(m_tables.at(0).texts.value(key), key);
            QVERIFY2(m_tables.at(1).texts.value(key) != key, qPrintable("untranslated: " + key));
        }
    }

    void literalKeysInTheCodeAreKnown() {
        // The scanner itself finds the forms the code writes.
        QStringList found;
        for (const LiteralCall& call : literalLookups(
                 "l.text(\"menu.quit\");\n x = l.format(QStringLiteral(\"a.b\"), {1}) + t.pluralText( u\"c.d\", n);\n"))
            found << QStringLiteral("%1:%2(%3)").arg(call.line).arg(call.function, call.literal);
        QCOMPARE(found, QStringList({"1:text(menu.quit)", "2:format(a.b)", "2:pluralText(c.d)"}));

        int scanned = 0;
        QDirIterator files(QStringLiteral(TRELLIN_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                           QDirIterator::Subdirectories);
        for (; files.hasNext(); ++scanned) {
            const QString path = files.next();
            for (const LiteralCall& call : literalLookups(QString::fromUtf8(readFile(path)))) {
                const bool plural = call.function.startsWith(u"plural");
                const bool known =
                    std::any_of(L10nKey::kAll.begin(), L10nKey::kAll.end(), [&](const L10nKey::Entry& e) {
                        return keyOf(e) == call.literal && (plural ? e.pluralBase : e.ownEntry);
                    });
                QVERIFY2(known, qPrintable(QStringLiteral("%1:%2: %3(\"%4\") is not a %5 in L10nKey::kAll")
                                               .arg(path)
                                               .arg(call.line)
                                               .arg(call.function, call.literal, plural ? "plural base" : "key")));
            }
        }
        QVERIFY(scanned > 0);
    }
};

QTEST_GUILESS_MAIN(TranslationCoverageTest)
#include "TranslationCoverageTest.moc"
