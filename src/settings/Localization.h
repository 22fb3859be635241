#pragma once

#include "model/Enums.h"

#include <QLocale>
#include <QString>
#include <QVariantList>

#include <functional>
#include <map>
#include <memory>

class QTranslator;

// The interface texts in the language chosen in the program's settings. Each language has a string
// table, "<code>.lproj/Localizable.qm" in the bundle's resources, compiled from an ID-based Qt Linguist
// source in which the id is the key. The language is asked for at every lookup, so a change of language
// shows at the next redraw. Main thread only.
class Localization {
public:
    using LanguageSource = std::function<AppLanguage()>;

    // `resourcesDirectory` is the bundle's Contents/Resources.
    Localization(QString resourcesDirectory, LanguageSource currentLanguage);
    ~Localization();
    Localization(const Localization&) = delete;
    Localization& operator=(const Localization&) = delete;

    AppLanguage language() const;
    // The language's code ("en", "uk") and the locale of that code, for formatting and comparing texts.
    QString languageCode() const { return rawValue(language()); }
    QLocale locale() const { return QLocale(languageCode()); }

    // The key's text; the key itself when the table has no entry. A language without a table falls back
    // to English's table.
    QString text(const QString& key) const;
    // The key's text used as a printf-style format and filled with the arguments. A missing key is its
    // own format, so it shows without the arguments.
    QString format(const QString& key, const QVariantList& arguments) const;

    // ".one", ".few" or ".many" for a count, by the language's plural rule.
    static QString pluralSuffix(AppLanguage language, qint64 count);
    QString pluralKey(const QString& base, qint64 count) const;
    // The count's plural form of `base`, filled with the count.
    QString pluralText(const QString& base, qint64 count) const;

    // A size in points: "52 pt", "52 пт".
    QString pointsText(qint64 points) const;
    // A decimal number with exactly `digits` fraction digits, written the language's way ("1.5", "1,5").
    QString decimalText(double value, int digits) const;
    // The folder list's footer: the total, a middle dot, the number in the Dock.
    QString footerText(qint64 total, qint64 inDock) const;

    // The name a language is listed under, in that language itself and never translated.
    static QString languageDisplayName(AppLanguage language);

    // Where a language's table is expected.
    QString tablePath(AppLanguage language) const;

private:
    // The language's loaded table, or null when it has none. Each table is read once, when first needed.
    const QTranslator* table(AppLanguage language) const;

    QString m_resourcesDirectory;
    LanguageSource m_currentLanguage;
    // A null entry remembers that the language has no usable table.
    mutable std::map<AppLanguage, std::unique_ptr<QTranslator>> m_tables;
};
