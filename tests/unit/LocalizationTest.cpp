// Looking texts up in the chosen language, in the string tables the build puts into the bundle:
// plural rules, number texts, fallbacks, format filling.
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "settings/PrintfFormat.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>

namespace {

const QString kBundleResources = QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/Resources");

} // namespace

class LocalizationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pluralSuffixes_data();
    void pluralSuffixes();
    void textsOfEachLanguageFromTheBundle();
    void missingKeysAndTables();
    void formatsLikeTheStringTables_data();
    void formatsLikeTheStringTables();
    void formatSignatures();
};

void LocalizationTest::pluralSuffixes_data() {
    QTest::addColumn<AppLanguage>("language");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("suffix");
    const auto rows = [](AppLanguage language, const char* suffix, std::initializer_list<qint64> counts) {
        for (const qint64 count : counts)
            QTest::addRow("%s %lld", qPrintable(rawValue(language)), static_cast<long long>(count))
                << language << count << QString::fromLatin1(suffix);
    };
    constexpr qint64 largest = std::numeric_limits<qint64>::max();  // …807
    constexpr qint64 smallest = std::numeric_limits<qint64>::min(); // …808: its magnitude must not overflow
    rows(AppLanguage::Ukrainian, ".one", {1, 21, -1});
    rows(AppLanguage::Ukrainian, ".few", {2, 4, 22});
    rows(AppLanguage::Ukrainian, ".many", {0, 5, 11, 12, 111, 112, largest, smallest});
    rows(AppLanguage::English, ".one", {1});
    rows(AppLanguage::English, ".many", {0, 2, -1});
}

void LocalizationTest::pluralSuffixes() {
    QFETCH(AppLanguage, language);
    QFETCH(qint64, count);
    QFETCH(QString, suffix);
    QCOMPARE(Localization::pluralSuffix(language, count), suffix);
    const Localization localization(QString(), [language] { return language; });
    QCOMPARE(localization.pluralKey(QStringLiteral("main.app_count"), count), "main.app_count" + suffix);
}

// One Localization throughout: a change of language shows at the next lookup.
void LocalizationTest::textsOfEachLanguageFromTheBundle() {
    AppLanguage language = AppLanguage::English;
    const Localization localization(kBundleResources, [&language] { return language; });
    QCOMPARE(localization.text(L10nKey::menuQuit), QStringLiteral("Quit Trellin"));
    QCOMPARE(localization.text(L10nKey::noFoldersFoundTitle), QStringLiteral("No folders found"));
    QCOMPARE(localization.locale().language(), QLocale::English);
    QCOMPARE(localization.pluralText(L10nKey::appCount, 1), QStringLiteral("1 app"));
    QCOMPARE(localization.pluralText(L10nKey::appCount, 0), QStringLiteral("0 apps"));
    QCOMPARE(localization.pluralText(L10nKey::folderCount, 12), QStringLiteral("12 folders"));
    // The picker's count also reads as a plain format.
    QCOMPARE(localization.format(L10nKey::appPickerAddCount, {3}), QStringLiteral("Add (3)"));
    QCOMPARE(localization.pointsText(52), QStringLiteral("52 pt"));
    QCOMPARE(localization.decimalText(3.0, 1), QStringLiteral("3.0"));
    QCOMPARE(localization.decimalText(12.46, 1), QStringLiteral("12.5"));
    QCOMPARE(localization.footerText(5, 2), QStringLiteral("Total: 5 \u00B7 In Dock: 2"));
    // Counts are plain digits in every language, however large.
    QCOMPARE(localization.format(L10nKey::footerTotal, {12345}), QStringLiteral("Total: 12345"));

    language = AppLanguage::Ukrainian;
    QCOMPARE(localization.text(L10nKey::menuQuit), QStringLiteral("Вийти з Trellin"));
    QCOMPARE(localization.text(L10nKey::noFoldersFoundTitle), QStringLiteral("Папок не знайдено"));
    QCOMPARE(localization.languageCode(), QStringLiteral("uk"));
    QCOMPARE(localization.locale().language(), QLocale::Ukrainian);
    QCOMPARE(localization.pluralText(L10nKey::appCount, 1), QStringLiteral("1 програма"));
    QCOMPARE(localization.pluralText(L10nKey::appCount, 3), QStringLiteral("3 програми"));
    QCOMPARE(localization.pluralText(L10nKey::appCount, 11), QStringLiteral("11 програм"));
    QCOMPARE(localization.pluralText(L10nKey::appCount, 21), QStringLiteral("21 програма"));
    QCOMPARE(localization.pluralText(L10nKey::folderCount, 0), QStringLiteral("0 папок"));
    QCOMPARE(localization.pluralText(L10nKey::folderCount, 24), QStringLiteral("24 папки"));
    QCOMPARE(localization.pluralText(L10nKey::appPickerAddCount, 2), QStringLiteral("Додати 2 програми"));
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

    // A language without its folder reads English's table, not bare keys; so does one whose table is damaged.
    QTemporaryDir resources;
    QVERIFY(writeFile(resources.filePath("en.lproj/Localizable.qm"),
                      readFile(kBundleResources + "/en.lproj/Localizable.qm")));
    const Localization englishOnly(resources.path(), [&language] { return language; });
    QCOMPARE(englishOnly.text(L10nKey::menuQuit), QStringLiteral("Quit Trellin"));
    QCOMPARE(englishOnly.pluralText(L10nKey::appCount, 1), QStringLiteral("1 app"));
    QVERIFY(writeFile(resources.filePath("uk.lproj/Localizable.qm"), "not a table"));
    const Localization damaged(resources.path(), [&language] { return language; });
    QCOMPARE(damaged.text(L10nKey::menuQuit), QStringLiteral("Quit Trellin"));
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
