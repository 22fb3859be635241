#include "Localization.h"

#include "LocalizationKeys.h"
#include "PrintfFormat.h"

#include <QTranslator>

#include <utility>

Localization::Localization(QString resourcesDirectory, LanguageSource currentLanguage)
    : m_resourcesDirectory(std::move(resourcesDirectory))
    , m_currentLanguage(std::move(currentLanguage)) {}

Localization::~Localization() = default;

AppLanguage Localization::language() const {
    return m_currentLanguage ? m_currentLanguage() : AppLanguage::English;
}

QString Localization::tablePath(AppLanguage language) const {
    return m_resourcesDirectory + u'/' + rawValue(language) + QStringLiteral(".lproj/Localizable.qm");
}

const QTranslator* Localization::table(AppLanguage language) const {
    auto found = m_tables.find(language);
    if (found == m_tables.end()) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(tablePath(language)) || translator->isEmpty())
            translator.reset();
        found = m_tables.emplace(language, std::move(translator)).first;
    }
    return found->second.get();
}

QString Localization::text(const QString& key) const {
    if (key.isEmpty())
        return key;
    const AppLanguage current = language();
    const QTranslator* strings = table(current);
    if (!strings && current != AppLanguage::English)
        strings = table(AppLanguage::English);
    if (!strings)
        return key;
    // ID-based tables keep every message in the unnamed context, with the id as its source.
    const QString found = strings->translate("", key.toUtf8().constData());
    return found.isEmpty() ? key : found;
}

QString Localization::format(const QString& key, const QVariantList& arguments) const {
    return PrintfFormat::apply(text(key), arguments);
}

QString Localization::pluralSuffix(AppLanguage language, qint64 count) {
    // Unsigned so that the magnitude of the most negative count does not overflow.
    const quint64 n = count < 0 ? 0 - static_cast<quint64>(count) : static_cast<quint64>(count);
    if (language == AppLanguage::English)
        return count == 1 ? QStringLiteral(".one") : QStringLiteral(".many");
    const quint64 lastDigit = n % 10;
    const quint64 lastTwo = n % 100;
    if (lastDigit == 1 && lastTwo != 11)
        return QStringLiteral(".one");
    if (lastDigit >= 2 && lastDigit <= 4 && (lastTwo < 12 || lastTwo > 14))
        return QStringLiteral(".few");
    return QStringLiteral(".many");
}

QString Localization::pluralKey(const QString& base, qint64 count) const {
    return base + pluralSuffix(language(), count);
}

QString Localization::pluralText(const QString& base, qint64 count) const {
    return format(pluralKey(base, count), {count});
}

QString Localization::pointsText(qint64 points) const {
    const QString unit = language() == AppLanguage::Ukrainian ? QStringLiteral(" \u043F\u0442") : QStringLiteral(" pt");
    return QString::number(points) + unit;
}

QString Localization::decimalText(double value, int digits) const {
    return locale().toString(value, 'f', qMax(digits, 0));
}

QString Localization::footerText(qint64 total, qint64 inDock) const {
    return format(QString::fromLatin1(L10nKey::footerTotal), {total}) + QStringLiteral(" \u00B7 ") +
           format(QString::fromLatin1(L10nKey::footerInDock), {inDock});
}

QString Localization::languageDisplayName(AppLanguage language) {
    return language == AppLanguage::Ukrainian ? QStringLiteral("Українська") : QStringLiteral("English");
}
