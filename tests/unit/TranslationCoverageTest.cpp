// The string-table sources against the key table and the code: a key without a text, a plural form
// left out, a translation that takes other arguments than English, or a literal key in the code that
// the tables do not know fails here rather than in front of a user.
#include "settings/LocalizationKeys.h"
#include "settings/PrintfFormat.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Message {
    QString translation;
    QString translationType; // "unfinished", "vanished", "obsolete" or empty
};

struct Table {
    QString code;
    QString languageAttribute;
    QHash<QString, Message> messages;
    QStringList problems; // XML errors, messages without id, duplicate ids
};

Table readTable(const QString& code) {
    Table table;
    table.code = code;
    QFile file(QStringLiteral(TRELLIN_SOURCE_DIR "/resources/translations/") + code + QStringLiteral(".ts"));
    if (!file.open(QIODevice::ReadOnly)) {
        table.problems << file.fileName() + QStringLiteral(": ") + file.errorString();
        return table;
    }
    QXmlStreamReader xml(&file);
    QString id;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == u"TS") {
                table.languageAttribute = xml.attributes().value(QLatin1String("language")).toString();
            } else if (xml.name() == u"message") {
                id = xml.attributes().value(QLatin1String("id")).toString();
                message = Message{};
                if (id.isEmpty())
                    table.problems << QStringLiteral("message without id at line %1").arg(xml.lineNumber());
            } else if (xml.name() == u"translation") {
                message.translationType = xml.attributes().value(QLatin1String("type")).toString();
                message.translation = xml.readElementText();
            }
        } else if (xml.isEndElement() && xml.name() == u"message" && !id.isEmpty()) {
            if (table.messages.contains(id))
                table.problems << QStringLiteral("duplicate id ") + id;
            table.messages.insert(id, message);
        }
    }
    if (xml.hasError())
        table.problems << QStringLiteral("XML error at line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
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
        if (entry.pluralBase) {
            for (const QString& suffix : suffixes)
                ids.insert(keyOf(entry) + suffix, QStringLiteral("d"));
        }
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
    QRegularExpressionMatchIterator matches = call.globalMatch(code);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const int line = static_cast<int>(QStringView(code).left(match.capturedStart()).count(u'\n')) + 1;
        calls.append({match.captured(1), match.captured(2), line});
    }
    return calls;
}

} // namespace

class TranslationCoverageTest : public QObject {
    Q_OBJECT

    QList<Table> m_tables;
    QSet<QString> m_ownKeys;
    QSet<QString> m_pluralBases;

private Q_SLOTS:
    void initTestCase() {
        m_tables = {readTable(QStringLiteral("en")), readTable(QStringLiteral("uk"))};
        for (const L10nKey::Entry& entry : L10nKey::kAll) {
            if (entry.ownEntry)
                m_ownKeys.insert(keyOf(entry));
            if (entry.pluralBase)
                m_pluralBases.insert(keyOf(entry));
        }
    }

    void keyTableIsConsistent() {
        QSet<QString> keys;
        for (const L10nKey::Entry& entry : L10nKey::kAll) {
            const QString key = keyOf(entry);
            QVERIFY2(!keys.contains(key), qPrintable("listed twice: " + key));
            keys.insert(key);
            QVERIFY2(entry.ownEntry || entry.pluralBase, qPrintable(key));
            // Plural bases are dotted keys; a key of any other shape is a self-keyed English text.
            QVERIFY2(!entry.pluralBase || isDottedKey(key), qPrintable(key));
        }

        // Every constant declared for the screens is in the table the tests and tools go by.
        QFile header(QStringLiteral(TRELLIN_SOURCE_DIR "/src/settings/LocalizationKeys.h"));
        QVERIFY(header.open(QIODevice::ReadOnly));
        static const QRegularExpression constant(QStringLiteral("inline constexpr char (\\w+)\\[\\] = \"([^\"]*)\";"));
        QRegularExpressionMatchIterator matches = constant.globalMatch(QString::fromUtf8(header.readAll()));
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
        for (const Table& table : std::as_const(m_tables)) {
            QVERIFY2(table.problems.isEmpty(), qPrintable(table.code + ": " + table.problems.join("; ")));
            QVERIFY2(table.languageAttribute.startsWith(table.code), qPrintable(table.languageAttribute));
            const QHash<QString, QString> expected = expectedIds(table.code);
            for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
                QVERIFY2(table.messages.contains(it.key()), qPrintable(table.code + " lacks " + it.key()));
                const QString signature = PrintfFormat::signature(table.messages.value(it.key()).translation);
                QVERIFY2(signature == it.value(), qPrintable(QStringLiteral("%1 %2 takes “%3”, the code passes “%4”")
                                                                 .arg(table.code, it.key(), signature, it.value())));
            }
            for (auto it = table.messages.cbegin(); it != table.messages.cend(); ++it) {
                const QString where = table.code + ": " + it.key();
                // Anything else is a misspelt key or a plural form the language does not have.
                QVERIFY2(expected.contains(it.key()), qPrintable(where + " is an unknown id"));
                // Unfinished texts are left out of the compiled table: the key would show instead.
                QVERIFY2(it->translationType.isEmpty(), qPrintable(where + " is " + it->translationType));
                QVERIFY2(!it->translation.trimmed().isEmpty(), qPrintable(where + " has no text"));
            }
        }

        // Self-keyed texts read the same in English as their key, so a lookup that finds no table still
        // shows the right English.
        for (const L10nKey::Entry& entry : L10nKey::kAll) {
            const QString key = keyOf(entry);
            if (isDottedKey(key))
                continue;
            QCOMPARE(m_tables.at(0).messages.value(key).translation, key);
            QVERIFY2(m_tables.at(1).messages.value(key).translation != key, qPrintable("untranslated: " + key));
        }
    }

    void literalKeysInTheCodeAreKnown() {
        // The scanner itself finds the forms the code writes.
        const QList<LiteralCall> sample = literalLookups(
            "l.text(\"menu.quit\");\n x = l.format(QStringLiteral(\"a.b\"), {1}) + t.pluralText( u\"c.d\", n);\n");
        QCOMPARE(sample.size(), 3);
        QCOMPARE(sample.at(1).literal, QStringLiteral("a.b"));
        QCOMPARE(sample.at(2).function, QStringLiteral("pluralText"));
        QCOMPARE(sample.at(2).line, 2);

        int scanned = 0;
        QDirIterator files(QStringLiteral(TRELLIN_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                           QDirIterator::Subdirectories);
        for (; files.hasNext(); ++scanned) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const LiteralCall& call : literalLookups(QString::fromUtf8(file.readAll()))) {
                const bool plural = call.function.startsWith(u"plural");
                const bool known = (plural ? m_pluralBases : m_ownKeys).contains(call.literal);
                QVERIFY2(known, qPrintable(QStringLiteral("%1:%2: %3(\"%4\") is not a %5 in L10nKey::kAll")
                                               .arg(file.fileName())
                                               .arg(call.line)
                                               .arg(call.function, call.literal,
                                                    plural ? QStringLiteral("plural base") : QStringLiteral("key"))));
            }
        }
        QVERIFY(scanned > 0);
    }
};

QTEST_GUILESS_MAIN(TranslationCoverageTest)
#include "TranslationCoverageTest.moc"
