// Looking texts up in the chosen language: plural rules, number texts, fallbacks, format filling,
// and the string tables the build puts into the bundle.
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "settings/PrintfFormat.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

namespace {

const QString kBundleResources = QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/Resources");

// Self-keyed texts are their own English wording; every other key is a dotted lower-case path.
bool isDottedKey(const QString& key) {
    static const QRegularExpression dotted(QStringLiteral("^[a-z_]+(\\.[a-z_]+)+$"));
    return dotted.match(key).hasMatch();
}

} // namespace

class LocalizationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pluralSuffixes_data();
    void pluralSuffixes();
    void pluralTextsFromTheBundle();
    void numberTexts();
    void missingKeysAndTables();
    void languageSwitchShowsAtTheNextLookup();
    void bundleTablesHoldEveryKey();
    void formatsLikeTheStringTables_data();
    void formatsLikeTheStringTables();
    void formatSignatures();
};

void LocalizationTest::pluralSuffixes_data() {
    QTest::addColumn<AppLanguage>("language");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("suffix");
    const auto uk = [](qint64 count, const char* suffix) {
        QTest::addRow("uk %lld", static_cast<long long>(count)) << AppLanguage::Ukrainian << count << suffix;
    };
    uk(1, ".one");
    uk(2, ".few");
    uk(4, ".few");
    uk(5, ".many");
    uk(11, ".many");
    uk(12, ".many");
    uk(21, ".one");
    uk(22, ".few");
    uk(111, ".many");
    uk(112, ".many");
    uk(0, ".many");
    uk(-1, ".one");
    uk(std::numeric_limits<qint64>::max(), ".many"); // …807
    uk(std::numeric_limits<qint64>::min(), ".many"); // …808, no overflow taking its magnitude
    const auto en = [](qint64 count, const char* suffix) {
        QTest::addRow("en %lld", static_cast<long long>(count)) << AppLanguage::English << count << suffix;
    };
    en(1, ".one");
    en(0, ".many");
    en(2, ".many");
    en(-1, ".many");
}

void LocalizationTest::pluralSuffixes() {
    QFETCH(AppLanguage, language);
    QFETCH(qint64, count);
    QFETCH(QString, suffix);
    QCOMPARE(Localization::pluralSuffix(language, count), suffix);
    const Localization localization(QString(), [language] { return language; });
    QCOMPARE(localization.pluralKey(QStringLiteral("main.app_count"), count), "main.app_count" + suffix);
}

void LocalizationTest::pluralTextsFromTheBundle() {
    AppLanguage language = AppLanguage::Ukrainian;
    const Localization localization(kBundleResources, [&language] { return language; });
    QCOMPARE(localization.pluralText(L10nKey::appCount, 1), QStringLiteral("1 програма"));
    QCOMPARE(localization.pluralText(L10nKey::appCount, 3), QStringLiteral("3 програми"));
    QCOMPARE(localization.pluralText(L10nKey::appCount, 11), QStringLiteral("11 програм"));
    QCOMPARE(localization.pluralText(L10nKey::appCount, 21), QStringLiteral("21 програма"));
    QCOMPARE(localization.pluralText(L10nKey::folderCount, 0), QStringLiteral("0 папок"));
    QCOMPARE(localization.pluralText(L10nKey::folderCount, 24), QStringLiteral("24 папки"));
    QCOMPARE(localization.pluralText(L10nKey::appPickerAddCount, 2), QStringLiteral("Додати 2 програми"));
    language = AppLanguage::English;
    QCOMPARE(localization.pluralText(L10nKey::appCount, 1), QStringLiteral("1 app"));
    QCOMPARE(localization.pluralText(L10nKey::appCount, 0), QStringLiteral("0 apps"));
    QCOMPARE(localization.pluralText(L10nKey::folderCount, 12), QStringLiteral("12 folders"));
    // The picker's count also reads as a plain format.
    QCOMPARE(localization.format(L10nKey::appPickerAddCount, {3}), QStringLiteral("Add (3)"));
}

void LocalizationTest::numberTexts() {
    AppLanguage language = AppLanguage::English;
    const Localization localization(kBundleResources, [&language] { return language; });
    QCOMPARE(localization.pointsText(52), QStringLiteral("52 pt"));
    QCOMPARE(localization.decimalText(3.0, 1), QStringLiteral("3.0"));
    QCOMPARE(localization.decimalText(12.46, 1), QStringLiteral("12.5"));
    QCOMPARE(localization.footerText(5, 2), QStringLiteral("Total: 5 \u00B7 In Dock: 2"));
    // Counts are plain digits in every language, however large.
    QCOMPARE(localization.format(L10nKey::footerTotal, {12345}), QStringLiteral("Total: 12345"));

    language = AppLanguage::Ukrainian;
    QCOMPARE(localization.pointsText(52), QStringLiteral("52 \u043F\u0442"));
    QCOMPARE(localization.decimalText(3.0, 1), QStringLiteral("3,0"));
    QCOMPARE(localization.decimalText(14.96, 1), QStringLiteral("15,0"));
    QCOMPARE(localization.footerText(5, 2), QStringLiteral("Усього: 5 \u00B7 У Dock: 2"));
    QCOMPARE(localization.format(L10nKey::deleteConfirmationTitle, {QStringLiteral("Ігри")}),
             QStringLiteral("Видалити «Ігри»?"));

    QCOMPARE(Localization::languageDisplayName(AppLanguage::English), QStringLiteral("English"));
    QCOMPARE(Localization::languageDisplayName(AppLanguage::Ukrainian), QStringLiteral("Українська"));
}

void LocalizationTest::missingKeysAndTables() {
    AppLanguage language = AppLanguage::Ukrainian;
    const Localization bundle(kBundleResources, [&language] { return language; });
    // A key the table lacks shows as itself, and a format key becomes its own format: no number.
    QCOMPARE(bundle.text(QStringLiteral("main.not_a_key")), QStringLiteral("main.not_a_key"));
    QCOMPARE(bundle.format(QStringLiteral("main.not_a_count"), {7}), QStringLiteral("main.not_a_count"));

    // No tables at all: keys show as themselves, self-keyed texts as their English.
    const Localization bare(QStringLiteral("/nonexistent/Resources"), [&language] { return language; });
    QCOMPARE(bare.text(L10nKey::menuQuit), QStringLiteral("menu.quit"));
    QCOMPARE(bare.text(L10nKey::emptyFolderTitle), QStringLiteral("This folder is empty"));
    QCOMPARE(bare.footerText(5, 2), QStringLiteral("main.footer.total \u00B7 main.footer.in_dock"));

    // A language without its folder reads English's table, not bare keys.
    QTemporaryDir resources;
    QVERIFY(QDir(resources.path()).mkpath("en.lproj"));
    QVERIFY(QFile::copy(kBundleResources + "/en.lproj/Localizable.qm", resources.filePath("en.lproj/Localizable.qm")));
    const Localization englishOnly(resources.path(), [&language] { return language; });
    QCOMPARE(englishOnly.text(L10nKey::menuQuit), QStringLiteral("Quit Trellin"));
    QCOMPARE(englishOnly.pluralText(L10nKey::appCount, 1), QStringLiteral("1 app"));

    // A damaged table counts as missing.
    QVERIFY(QDir(resources.path()).mkpath("uk.lproj"));
    QFile broken(resources.filePath("uk.lproj/Localizable.qm"));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("not a table") > 0);
    broken.close();
    const Localization damaged(resources.path(), [&language] { return language; });
    QCOMPARE(damaged.text(L10nKey::menuQuit), QStringLiteral("Quit Trellin"));
}

void LocalizationTest::languageSwitchShowsAtTheNextLookup() {
    AppLanguage language = AppLanguage::English;
    const Localization localization(kBundleResources, [&language] { return language; });
    QCOMPARE(localization.text(L10nKey::menuQuit), QStringLiteral("Quit Trellin"));
    QCOMPARE(localization.locale().language(), QLocale::English);
    language = AppLanguage::Ukrainian;
    QCOMPARE(localization.text(L10nKey::menuQuit), QStringLiteral("Вийти з Trellin"));
    QCOMPARE(localization.pluralKey(L10nKey::appCount, 2), QStringLiteral("main.app_count.few"));
    QCOMPARE(localization.languageCode(), QStringLiteral("uk"));
    QCOMPARE(localization.locale().language(), QLocale::Ukrainian);
    QCOMPARE(localization.text(L10nKey::noFoldersFoundTitle), QStringLiteral("Папок не знайдено"));
    language = AppLanguage::English;
    QCOMPARE(localization.text(L10nKey::noFoldersFoundTitle), QStringLiteral("No folders found"));
}

void LocalizationTest::bundleTablesHoldEveryKey() {
    for (const AppLanguage language : {AppLanguage::English, AppLanguage::Ukrainian}) {
        const Localization localization(kBundleResources, [language] { return language; });
        QVERIFY2(QFile::exists(localization.tablePath(language)), qPrintable(localization.tablePath(language)));
        QStringList keys;
        for (const L10nKey::Entry& entry : L10nKey::kAll) {
            const QString key = QString::fromUtf8(entry.key.data(), entry.key.size());
            if (entry.ownEntry)
                keys << key;
            if (entry.pluralBase) {
                for (const qint64 count : {1, 2, 5})
                    keys << localization.pluralKey(key, count);
            }
        }
        for (const QString& key : std::as_const(keys)) {
            const QString text = localization.text(key);
            const bool selfKeyed = !isDottedKey(key);
            // Every dotted key has a text of its own; a self-keyed text is translated in Ukrainian.
            if (!selfKeyed || language == AppLanguage::Ukrainian)
                QVERIFY2(text != key, qPrintable(localization.languageCode() + ": " + key));
            else
                QCOMPARE(text, key);
        }
    }
}

void LocalizationTest::formatsLikeTheStringTables_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariantList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("integer") << "%d folders" << QVariantList{12} << "12 folders";
    QTest::newRow("no grouping") << "%d" << QVariantList{1234567} << "1234567";
    QTest::newRow("length modifiers") << "%ld %lld %qd %zu" << QVariantList{1, 2, 3, 4} << "1 2 3 4";
    QTest::newRow("unsigned") << "%llu" << QVariantList{Q_UINT64_C(18446744073709551615)} << "18446744073709551615";
    QTest::newRow("text") << "Delete “%@”?" << QVariantList{"Work"} << "Delete “Work”?";
    QTest::newRow("percent") << "%d%% done, 100%%" << QVariantList{50} << "50% done, 100%";
    QTest::newRow("positional") << "%2$@: %1$d" << QVariantList{3, "Apps"} << "Apps: 3";
    QTest::newRow("text as integer") << "%d" << QVariantList{"many"} << "many";
    // Faults stay visible instead of reading past the arguments.
    QTest::newRow("missing argument") << "%d of %d" << QVariantList{1} << "1 of %d";
    QTest::newRow("position past the end") << "%3$@!" << QVariantList{"a"} << "%3$@!";
    QTest::newRow("unknown conversion") << "%x %f %d" << QVariantList{5} << "%x %f 5";
    QTest::newRow("lone percent") << "50%" << QVariantList{} << "50%";
    QTest::newRow("huge position") << "%99999999999$d" << QVariantList{1} << "%99999999999$d";
}

void LocalizationTest::formatsLikeTheStringTables() {
    QFETCH(QString, format);
    QFETCH(QVariantList, arguments);
    QFETCH(QString, expected);
    QCOMPARE(PrintfFormat::apply(format, arguments), expected);
}

void LocalizationTest::formatSignatures() {
    QCOMPARE(PrintfFormat::signature("Settings"), QString());
    QCOMPARE(PrintfFormat::signature("%lld apps"), QStringLiteral("d"));
    QCOMPARE(PrintfFormat::signature("%@ %d"), QStringLiteral("@d"));
    // A translation may reorder its arguments and still take the same ones.
    QCOMPARE(PrintfFormat::signature("%2$d %1$@"), QStringLiteral("@d"));
    QCOMPARE(PrintfFormat::signature("%2$d"), QStringLiteral("?d"));
    QCOMPARE(PrintfFormat::signature("%d%"), QStringLiteral("d!"));
    QCOMPARE(PrintfFormat::signature("%1$d %1$@"), QStringLiteral("d!"));
}

QTEST_GUILESS_MAIN(LocalizationTest)
#include "LocalizationTest.moc"
