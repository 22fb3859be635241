#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <optional>

// The application's user-defaults domain, shared by the main application and every helper
// process. Values are property-list values held in QVariants: bool, qint64, double, QString,
// QByteArray (data), QDateTime (date), QVariantList (array), QVariantMap (dictionary).
//
// Reads see the argument domain ("-key value" on the command line) first, then the
// application domain. Writes go to the application domain.
class UserDefaults {
public:
    virtual ~UserDefaults() = default;

    // An invalid QVariant when no domain has the key.
    virtual QVariant object(const QString& key) const = 0;
    virtual void setObject(const QString& key, const QVariant& value) = 0;
    virtual void removeObject(const QString& key) = 0;

    // The stored dictionary of a domain by name, without the argument domain; none when
    // the domain has never been written.
    virtual std::optional<QVariantMap> persistentDomain(const QString& domainName) const = 0;

    // Typed reads with the usual conversions: a value that cannot be converted reads as
    // false, 0 or none.
    bool hasObject(const QString& key) const { return object(key).isValid(); }
    bool boolForKey(const QString& key) const;
    qint64 integerForKey(const QString& key) const;
    double doubleForKey(const QString& key) const;
    std::optional<QString> stringForKey(const QString& key) const;
    std::optional<QStringList> stringArrayForKey(const QString& key) const;
};

// The conversions behind the typed getters, on a single value.
namespace DefaultsConversions {
bool toBool(const QVariant& value);
qint64 toInteger(const QVariant& value);
double toDouble(const QVariant& value);
std::optional<QString> toString(const QVariant& value);
std::optional<QStringList> toStringArray(const QVariant& value);
} // namespace DefaultsConversions
